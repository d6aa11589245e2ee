// Helpers for tests on simulated topologies.
#pragma once

#include <vector>

#include "mixer_test.h"
#include "objects.h"

class TopologyTest : public MixerTest {
 protected:
  // A reference to a part, as the platform would hand it out.
  static ComPtr<IPart> PartOf(sim::Part& part) {
    ComPtr<IPart> object;
    object.attach(world().Create<sim::PartObject>(part));
    return object;
  }
  static ComPtr<IPartsList> ListOf(std::vector<sim::Part*> parts) {
    ComPtr<IPartsList> list;
    list.attach(world().Create<sim::PartsListObject>("test.list", std::move(parts)));
    return list;
  }
  // The simulated object behind a control, by its label; "(none)" for null.
  template <class Interface>
  static std::string LabelOf(Interface* control) {
    if (control == nullptr) return "(none)";
    return dynamic_cast<sim::SimObject*>(static_cast<IUnknown*>(control))->label();
  }
  // An active endpoint whose connector 0 leads to `adapter[connector]`.
  static sim::Endpoint& AddConnected(EDataFlow flow, std::string key, sim::Adapter& adapter,
                                     const std::string& connector,
                                     std::u16string name = u"Device") {
    sim::Endpoint& endpoint = AddEndpoint(
        flow, key, u"{endpoint}." + std::u16string(key.begin(), key.end()), std::move(name));
    endpoint.connectedTo = &adapter[connector];
    return endpoint;
  }
};
