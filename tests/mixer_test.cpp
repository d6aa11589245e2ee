#include "mixer_test.h"

#include <cstdio>
#include <cstring>

void MixerTest::SetUp() {
  Mixer = MixerState{};
  world().Reset();
}

void MixerTest::TearDown() {
  ExpectCleanAfterClosing("at the end of the test");
  Mixer = MixerState{};
  world().Reset();
}

void MixerTest::ExpectCleanAfterClosing(const std::string& context) {
  // What the mixer state still holds is legitimately owned; let it go first.
  CloseVirtual_1();
  ReleaseSoundCard();
  EXPECT_THAT(world().Problems(), ::testing::IsEmpty()) << context;
}

sim::Endpoint& MixerTest::AddEndpoint(EDataFlow flow, std::string key, std::u16string id,
                                      std::u16string friendlyName) {
  sim::Endpoint endpoint;
  endpoint.key = std::move(key);
  endpoint.id = std::move(id);
  endpoint.flow = flow;
  endpoint.friendlyName = std::move(friendlyName);
  return world().AddEndpoint(std::move(endpoint));
}

std::string FloatBits(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", bits);
  return text;
}

void Fault::InjectAlone() const {
  sim::World::Get().ClearFaults();
  sim::FaultRule rule;
  rule.object = object;
  rule.method = method;
  rule.result = result;
  rule.skip = skip;
  sim::World::Get().Inject(rule);
}

std::string Fault::Describe() const {
  return std::string(object) + "." + method + " answering " + sim::DescribeResult(result) +
         (skip != 0 ? " after " + std::to_string(skip) + " call(s)" : "");
}
