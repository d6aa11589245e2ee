// Every ID the library asks the platform for, with the value the platform
// documents: a check against a header that carries a wrong one (mingw-w64's
// IAudioLoudness did) or a typing error in the project's own declarations.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"

struct DocumentedId {
  GUID id;
  const char* documented;
};

inline std::string GuidText(const GUID& id) {
  char text[40];
  std::snprintf(text, sizeof text, "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1],
                id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
  return text;
}

inline std::vector<DocumentedId> DocumentedIds() {
  return {
      {__uuidof(MMDeviceEnumerator), "BCDE0395-E52F-467C-8E3D-C4579291692E"},
      {__uuidof(IMMDeviceEnumerator), "A95664D2-9614-4F35-A746-DE8DB63617E6"},
      {__uuidof(IMMDeviceCollection), "0BD7A1BE-7A1A-44DB-8397-CC5392387B5E"},
      {__uuidof(IMMDevice), "D666063F-1587-4E43-81F1-B948E807363F"},
      {__uuidof(IPropertyStore), "886D8EEB-8CF2-4446-8D02-CDBA1DBDCF99"},
      {__uuidof(IAudioEndpointVolume), "5CDF2C82-841E-4546-9722-0CF74078229A"},
      {__uuidof(IDeviceTopology), "2A07407E-6497-4A18-9787-32F79BD0D98F"},
      {__uuidof(IConnector), "9C2C4058-23F5-41DE-877A-DF3AF236A09E"},
      {__uuidof(IPart), "AE2DE0E4-5BCA-4F2D-AA46-5D13F8FDB3A9"},
      {__uuidof(IPartsList), "6DAA848C-5EB0-45CC-AEA5-998A2CDA1FFB"},
      {__uuidof(IPerChannelDbLevel), "C2F8E001-F205-4BC9-99BC-C13B1E048CCB"},
      {__uuidof(IAudioVolumeLevel), "7FB7B48F-531D-44A2-BCB3-5AD5A134B3DC"},
      {__uuidof(IAudioBass), "A2B1A1D9-4DB3-425D-A2B2-BD335CB3E2E5"},
      {__uuidof(IAudioTreble), "0A717812-694E-4907-B74B-BAFA5CFDCA7B"},
      {__uuidof(IAudioMidrange), "5E54B6D7-B44B-40D9-9A9E-E691D9CE6EDF"},
      {__uuidof(IAudioMute), "DF45AEEA-B74A-4B6B-AFAD-2366B6AA012E"},
      {__uuidof(IAudioAutoGainControl), "85401FD4-6DE4-4B9D-9869-2D6753A82F3C"},
      {__uuidof(IAudioLoudness), "7D8B1437-DD53-4350-9C1B-1EE2890BD938"},
      {__uuidof(IUnknown), "00000000-0000-0000-C000-000000000046"},
      {PKEY_Device_FriendlyName.fmtid, "A45C254E-DF1C-4EFD-8020-67D146A850E0"},
  };
}
