// The platform's documented numbers that the logic uses: messages, notices, show commands,
// message-box flags and answers, window styles. Named so that they never meet the Windows
// headers' macros (those spell WM_CREATE, MB_OK, ...).
#pragma once

#include <cstdint>

namespace platform {

namespace msg {
constexpr uint32_t Create = 0x0001;
constexpr uint32_t Destroy = 0x0002;
constexpr uint32_t Close = 0x0010;
constexpr uint32_t QueryEndSession = 0x0011;
constexpr uint32_t Quit = 0x0012;
constexpr uint32_t EndSession = 0x0016;
constexpr uint32_t KeyDown = 0x0100;
constexpr uint32_t KeyUp = 0x0101;
constexpr uint32_t SysKeyDown = 0x0104;
constexpr uint32_t SysKeyUp = 0x0105;
constexpr uint32_t Command = 0x0111;
constexpr uint32_t Timer = 0x0113;
constexpr uint32_t HScroll = 0x0114;
constexpr uint32_t PowerBroadcast = 0x0218;
constexpr uint32_t DeviceChange = 0x0219;
constexpr uint32_t App = 0x8000; // WM_APP: the first message number private to a program
} // namespace msg

namespace dbt {
constexpr uintptr_t DeviceArrival = 0x8000;
constexpr uintptr_t DeviceRemoveComplete = 0x8004;
} // namespace dbt

namespace pbt {
constexpr uintptr_t ResumeSuspend = 0x0007;   // after a resume the user caused
constexpr uintptr_t ResumeAutomatic = 0x0012; // after every resume
} // namespace pbt

namespace sw {
constexpr int Hide = 0;
constexpr int ShowNormal = 1;
constexpr int Minimize = 6;
constexpr int Restore = 9;
} // namespace sw

namespace mb {
constexpr uint32_t Ok = 0x0000;
constexpr uint32_t YesNo = 0x0004;
constexpr uint32_t IconQuestion = 0x0020;
constexpr uint32_t IconInformation = 0x0040;
constexpr int AnswerOk = 1;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;
} // namespace mb

namespace style {
constexpr uint32_t Child = 0x40000000;
constexpr uint32_t Visible = 0x10000000;
constexpr uint32_t Group = 0x00020000;
constexpr uint32_t TabStop = 0x00010000;
constexpr uint32_t ExWindowEdge = 0x00000100;
constexpr uint32_t ExTransparent = 0x00000020;
constexpr uint32_t ButtonTypeMask = 0x0000000F;
constexpr uint32_t AutoCheckBox = 0x00000003;
constexpr uint32_t AutoRadioButton = 0x00000009;
constexpr uint32_t GroupBox = 0x00000007;
} // namespace style

namespace key {
constexpr uint32_t Snapshot = 0x2C;     // VK_SNAPSHOT, the Print key
constexpr uint32_t InjectedFlag = 0x10; // LLKHF_INJECTED
} // namespace key

constexpr int kUseDefaultPosition = static_cast<int>(0x80000000u); // CW_USEDEFAULT

} // namespace platform
