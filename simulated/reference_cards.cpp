#include "reference_cards.h"

namespace sim {

namespace {

Endpoint& AddEndpoint(World& world, const char* key, std::u16string id, EDataFlow flow,
                      std::u16string name, float minDb, float maxDb, float stepDb, UINT channels) {
  Endpoint endpoint;
  endpoint.key = key;
  endpoint.id = std::move(id);
  endpoint.flow = flow;
  endpoint.friendlyName = std::move(name);
  endpoint.volume.minDb = minDb;
  endpoint.volume.maxDb = maxDb;
  endpoint.volume.stepDb = stepDb;
  endpoint.volume.channelCount = channels;
  return world.AddEndpoint(std::move(endpoint));
}

}  // namespace

Adapter& InstallHdAudioCodec(World& world) {
  Adapter& codec = world.AddAdapter("hda", u"{1}.HDAUDIO\\FUNC_01&VEN_10EC&DEV_0887");
  codec.Connector("speaker-jack", u"Speaker");
  codec.Subunit("master", u"Master Volume").Volume(-46.5f, 0.0f, 1.5f, -6.0f);
  codec.Subunit("tone", u"Tone").Bass(-12.0f, 12.0f, 1.5f, 3.0f).Treble(-12.0f, 12.0f, 1.5f, -1.5f);
  codec.Subunit("midrange", u"Midrange").Midrange(-12.0f, 12.0f, 1.5f, 0.0f);
  codec.Subunit("sum", u"Sum");
  const struct {
    const char* jack;
    const char16_t* jackName;
    const char* volume;
    const char16_t* volumeName;
    const char* mute;
    const char16_t* muteName;
  } inputs[] = {
      {"line-jack", u"Line In", "line-volume", u"Line Volume", "line-mute", u"Line Mute"},
      {"mic-jack", u"Microphone", "mic-volume", u"Microphone Volume", "mic-mute",
       u"Microphone Mute"},
      {"cd-jack", u"CD", "cd-volume", u"CD Volume", "cd-mute", u"CD Mute"},
      {"front-jack", u"Front Pink In", "front-volume", u"Front Volume", "front-mute",
       u"Front Mute"},
  };
  for (const auto& input : inputs) {
    codec.Connector(input.jack, input.jackName);
    codec.Subunit(input.volume, input.volumeName).Volume(-34.5f, 12.0f, 1.5f, -10.0f);
    codec.Subunit(input.mute, input.muteName).Mute(FALSE);
    codec.Path({input.jack, input.volume, input.mute, "sum"});
  }
  codec.Path({"sum", "midrange", "tone", "master", "speaker-jack"});

  Endpoint& speakers =
      AddEndpoint(world, "speakers", u"{0.0.0.00000000}.{5f3e1d2a-7c41-4b8e-9a2d-13c0f6a8e201}",
                  eRender, u"Speakers (High Definition Audio Device)", -65.25f, 0.0f, 0.75f, 2);
  speakers.connectedTo = &codec["speaker-jack"];
  return codec;
}

Adapter& InstallUsbMicrophone(World& world) {
  Adapter& usb = world.AddAdapter("usb", u"{1}.USB\\VID_046D&PID_0A44&MI_00");
  usb.Connector("mic-jack", u"Microphone");
  usb.Subunit("boost", u"Mic Boost (+20dB)").Loudness(FALSE);
  usb.Subunit("volume", u"Mic Capture Volume").Volume(-12.0f, 30.0f, 0.1875f, 0.0f, 1);
  usb.Connector("capture", u"USB Capture");
  usb.Path({"mic-jack", "boost", "volume", "capture"});

  Endpoint& microphone =
      AddEndpoint(world, "usb-mic", u"{0.0.1.00000000}.{3e7a9c12-58b4-4f0d-a6e1-2c9b8d4f7a30}",
                  eCapture, u"Microphone (USB Audio Device)", -12.0f, 30.0f, 0.1875f, 1);
  microphone.connectedTo = &usb["capture"];
  return usb;
}

Adapter& InstallBoostLevelMicrophone(World& world) {
  Adapter& array = world.AddAdapter("array", u"{1}.HDAUDIO\\FUNC_01&VEN_10EC&DEV_0257");
  array.Connector("mic-jack", u"Mic In");
  array.Subunit("boost", u"Mic Boost").Volume(0.0f, 30.0f, 10.0f, 20.0f, 1);
  array.Subunit("adc", u"ADC Volume").Volume(-17.25f, 30.0f, 0.75f, 0.0f);
  array.Connector("capture", u"Capture");
  array.Path({"mic-jack", "boost", "adc", "capture"});

  Endpoint& microphone =
      AddEndpoint(world, "mic-array", u"{0.0.1.00000000}.{8b1f2c3d-4e5f-4a6b-9c7d-0e1f2a3b4c5d}",
                  eCapture, u"Microphone Array (Realtek Audio)", -17.25f, 30.0f, 0.75f, 2);
  microphone.connectedTo = &array["capture"];
  return array;
}

Adapter& InstallLineCapture(World& world) {
  Adapter& capture = world.AddAdapter("linecap", u"{1}.HDAUDIO\\FUNC_01&VEN_1106&DEV_4397");
  capture.Connector("line-jack", u"Line In");
  capture.Subunit("volume", u"Line Capture Volume").Volume(-34.5f, 12.0f, 1.5f, 0.0f);
  capture.Subunit("agc", u"Input Gain Control").AutoGain(TRUE);
  capture.Connector("capture", u"Capture");
  capture.Path({"line-jack", "volume", "agc", "capture"});

  Endpoint& line =
      AddEndpoint(world, "line-in", u"{0.0.1.00000000}.{d4b2e8f1-6a93-4c57-8b0e-71f3a5c9d268}",
                  eCapture, u"Line In (High Definition Audio Device)", -34.5f, 12.0f, 1.5f, 2);
  line.connectedTo = &capture["capture"];
  return capture;
}

void InstallReferenceMachine(World& world) {
  InstallHdAudioCodec(world);
  AddEndpoint(world, "headphones", u"{0.0.0.00000000}.{a81b44c0-2f6e-4d1a-b7e3-96d05c2e7f14}",
              eRender, u"Headphones (USB Audio Device)", -45.0f, 0.0f, 1.5f, 2);
  AddEndpoint(world, "hdmi", u"{0.0.0.00000000}.{0c9d7e55-31a8-4f62-8e90-b4d2a71c3e58}", eRender,
              u"Digital Output (HDMI)", -96.0f, 0.0f, 0.5f, 2)
      .state = DEVICE_STATE_DISABLED;
  InstallUsbMicrophone(world);
  InstallBoostLevelMicrophone(world);
  InstallLineCapture(world);
  for (ERole role : {eConsole, eMultimedia, eCommunications}) {
    world.SetDefault(eRender, role, "speakers");
    world.SetDefault(eCapture, role, "usb-mic");
  }
}

}  // namespace sim
