/* VelmoraSound: a flat mixer interface over the platform's Core Audio service.
 *
 * Every export runs on the caller's thread and returns at once. Control exports
 * report through a status code written to `status` (see VelmoraStatus). The
 * one-byte Boolean arguments of SetMasterMute and CloseSoundCard are declared as
 * unsigned char: only the lowest byte of their 32-bit argument slot is read. */
#ifndef VELMORASOUND_H
#define VELMORASOUND_H

#if defined(_WIN32) && !defined(_WIN64)
#define VELMORA_API __stdcall
#else
#define VELMORA_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum VelmoraStatus {
  StatusOk = 0,        /* the platform call succeeded */
  StatusNoControl = 1, /* the device has no such control, or it was never opened */
  StatusFailed = 2,    /* the platform call returned a failure */
  StatusNotOpen = 3    /* no sound card is open */
};

/* Sound card */
int VELMORA_API OpenSoundCard(const char* playbackIdText, const char* micIdText,
                              const char* lineIdText);
int VELMORA_API OpenDefaultDevices(void);
int VELMORA_API CloseSoundCard(unsigned char restore);
void VELMORA_API GetDeviceNames(char* playbackName, char* lineName, char* micName);

/* Device lists */
int VELMORA_API GetNumberPlayDevices(unsigned int* count);
int VELMORA_API GetNumberRecordDevices(unsigned int* count);
int VELMORA_API GetPlayBackDevice(unsigned int index, char* friendlyName, char* endpointId);
int VELMORA_API GetRecordDevice(unsigned int index, char* friendlyName, char* endpointId);

/* Master volume and mute */
int VELMORA_API GetMasterVolume(int* status);
int VELMORA_API SetMasterVolume(int percent, int* status);
int VELMORA_API GetMasterMute(int* status);
int VELMORA_API SetMasterMute(unsigned char mute, int* status);

/* Playback-path line and microphone inputs */
int VELMORA_API GetLinePlayBack(int* status);
int VELMORA_API SetLinePlayBack(int percent, int* status);
int VELMORA_API GetLinePlayBackMute(int* status);
int VELMORA_API SetLinePlayBackMute(int mute, int* status);
int VELMORA_API GetMicPlayBack(int* status);
int VELMORA_API SetMicPlayBack(int percent, int* status);
int VELMORA_API GetMicPlayBackMute(int* status);
int VELMORA_API SetMicPlayBackMute(int mute, int* status);

/* Record levels */
int VELMORA_API GetMicRecordVolume(int* status);
int VELMORA_API SetMicRecordVolume(int percent, int* status);
int VELMORA_API GetLineRecordVolume(int* status);
int VELMORA_API SetLineRecordVolume(int percent, int* status);

/* Auxiliary endpoint */
int VELMORA_API OpenVirtual_1(const char* idText);
int VELMORA_API CloseVirtual_1(void);
int VELMORA_API GetVirtualVolume(int* status);
int VELMORA_API SetVirtualVolume(int percent, int* status);
int VELMORA_API GetVirtualMute(int* status);
int VELMORA_API SetVirtualMute(int mute, int* status);

/* Microphone boost */
int VELMORA_API GetMicBoost(int* status);
int VELMORA_API SetMicBoost(int enabled, int* status);
int VELMORA_API GetMicSliderDetails(int* status, int* minLevel, int* maxLevel, int* stepLevel);
int VELMORA_API GetMicSliderBoost(int* status);
int VELMORA_API SetMicSliderBoost(int level, int* status);

/* Line monitor (the line input's automatic gain control) */
int VELMORA_API GetNoMonitor(int* status);
int VELMORA_API SetNoMonitor(int enabled, int* status);

/* Tone */
int VELMORA_API GetEQRange(double* minLevel, double* maxLevel, double* stepLevel);
int VELMORA_API SetBass(double level, int* status);
int VELMORA_API GetBass(double* level, int* status);
int VELMORA_API SetTreble(double level, int* status);
int VELMORA_API GetTreble(double* level, int* status);
int VELMORA_API SetMidRange(double level, int* status);
int VELMORA_API GetMidRange(double* level, int* status);

#ifdef __cplusplus
}
#endif

#endif /* VELMORASOUND_H */
