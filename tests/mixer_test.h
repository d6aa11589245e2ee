// The fixture every test uses: a fresh simulated world and an empty mixer state
// before each case, and after it the demand that nothing leaked, nothing was
// released twice or used after release, and COM initialisation is balanced.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "VelmoraSound.h"
#include "simulated_audio.h"
#include "state/mixer_state.h"

class MixerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static sim::World& world() { return sim::World::Get(); }

  // Adds an active endpoint; its key names its objects in the call log.
  static sim::Endpoint& AddEndpoint(EDataFlow flow, std::string key, std::u16string id,
                                    std::u16string friendlyName);
  static sim::Endpoint& AddPlayback(std::string key, std::u16string id,
                                    std::u16string friendlyName = u"Speakers") {
    return AddEndpoint(eRender, std::move(key), std::move(id), std::move(friendlyName));
  }
  static sim::Endpoint& AddCapture(std::string key, std::u16string id,
                                   std::u16string friendlyName = u"Microphone") {
    return AddEndpoint(eCapture, std::move(key), std::move(id), std::move(friendlyName));
  }

  static void Fail(const std::string& object, const std::string& method, HRESULT result) {
    sim::FaultRule rule;
    rule.object = object;
    rule.method = method;
    rule.result = result;
    world().Inject(rule);
  }

  // Lets the mixer state give up what it holds, then expects nothing else left.
  static void ExpectCleanAfterClosing(const std::string& context);

  // Closes, checks, and starts again from an empty world within one test.
  static void StartOver(const std::string& context) {
    ExpectCleanAfterClosing(context);
    world().Reset();
  }

  // Calls made to `object.method` so far.
  static std::size_t CallCount(const std::string& object, const std::string& method) {
    return world().CallsTo(object, method).size();
  }
};

// One platform fault in a table of cases.
struct Fault {
  const char* object;
  const char* method;
  HRESULT result;
  std::uint32_t skip = 0;  // matching calls let through before the fault

  // Clears the faults injected before and injects this one.
  void InjectAlone() const;
  std::string Describe() const;
};

// The return value and the status of a control export.
struct ExportResult {
  int value;
  int status;
  friend bool operator==(const ExportResult& a, const ExportResult& b) {
    return a.value == b.value && a.status == b.status;
  }
  friend std::ostream& operator<<(std::ostream& out, const ExportResult& r) {
    return out << "{value " << r.value << ", status " << r.status << "}";
  }
};

template <class Export, class... Args>
ExportResult CallWithStatus(Export function, Args... args) {
  int status = -1;
  const int value = function(args..., &status);
  return {value, status};
}

std::string FloatBits(float value);
