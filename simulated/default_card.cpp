#include "default_card.h"

namespace sim {

void InstallDefaultCard(World& world) {
  Endpoint speakers;
  speakers.key = "speakers";
  speakers.id = u"{0.0.0.00000000}.{5f3e1d2a-7c41-4b8e-9a2d-13c0f6a8e201}";
  speakers.flow = eRender;
  speakers.friendlyName = u"Speakers (High Definition Audio Device)";
  speakers.volume.minDb = -65.25f;
  speakers.volume.maxDb = 0.0f;
  speakers.volume.masterDb = -12.0f;
  world.AddEndpoint(speakers);

  Endpoint headphones;
  headphones.key = "headphones";
  headphones.id = u"{0.0.0.00000000}.{a81b44c0-2f6e-4d1a-b7e3-96d05c2e7f14}";
  headphones.flow = eRender;
  headphones.friendlyName = u"Headphones (USB Audio Device)";
  headphones.volume.minDb = -45.0f;
  headphones.volume.maxDb = 0.0f;
  headphones.volume.stepDb = 1.5f;
  world.AddEndpoint(headphones);

  Endpoint hdmi;
  hdmi.key = "hdmi";
  hdmi.id = u"{0.0.0.00000000}.{0c9d7e55-31a8-4f62-8e90-b4d2a71c3e58}";
  hdmi.flow = eRender;
  hdmi.state = DEVICE_STATE_DISABLED;
  hdmi.friendlyName = u"Digital Output (HDMI)";
  world.AddEndpoint(hdmi);

  Endpoint microphone;
  microphone.key = "usb-mic";
  microphone.id = u"{0.0.1.00000000}.{3e7a9c12-58b4-4f0d-a6e1-2c9b8d4f7a30}";
  microphone.flow = eCapture;
  microphone.friendlyName = u"Microphone (USB Audio Device)";
  microphone.volume.channelCount = 1;
  microphone.volume.minDb = -12.0f;
  microphone.volume.maxDb = 30.0f;
  microphone.volume.stepDb = 0.1875f;
  world.AddEndpoint(microphone);

  Endpoint lineIn;
  lineIn.key = "line-in";
  lineIn.id = u"{0.0.1.00000000}.{d4b2e8f1-6a93-4c57-8b0e-71f3a5c9d268}";
  lineIn.flow = eCapture;
  lineIn.friendlyName = u"Line In (High Definition Audio Device)";
  lineIn.volume.minDb = -34.5f;
  lineIn.volume.maxDb = 12.0f;
  lineIn.volume.stepDb = 1.5f;
  world.AddEndpoint(lineIn);

  for (ERole role : {eConsole, eMultimedia, eCommunications}) {
    world.SetDefault(eRender, role, "speakers");
    world.SetDefault(eCapture, role, "usb-mic");
  }
}

}  // namespace sim
