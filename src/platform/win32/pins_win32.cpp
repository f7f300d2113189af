// A filter's pins: listed, their direction and their peer.
#include "platform/win32/graph_handles_win32.h"

namespace platform {

HResult EnumeratePins(Filter filter, PinList* out) {
    IEnumPins* pins = nullptr;
    const HRESULT result = win32::ToFilter(filter)->EnumPins(&pins);
    if (SUCCEEDED(result) && pins)
        *out = reinterpret_cast<PinList>(pins);
    return result;
}

Pin NextPin(PinList list) {
    IPin* pin = nullptr;
    if (win32::ToPinList(list)->Next(1, &pin, nullptr) != S_OK)
        return nullptr;
    return reinterpret_cast<Pin>(pin);
}

HResult PinDirection(Pin pin, int* direction) {
    PIN_DIRECTION which = PINDIR_INPUT;
    const HRESULT result = win32::ToPin(pin)->QueryDirection(&which);
    if (SUCCEEDED(result))
        *direction = which == PINDIR_OUTPUT ? kPinOutput : kPinInput;
    return result;
}

HResult PinConnectedTo(Pin pin, Pin* peer) {
    IPin* other = nullptr;
    const HRESULT result = win32::ToPin(pin)->ConnectedTo(&other);
    if (SUCCEEDED(result) && other)
        *peer = reinterpret_cast<Pin>(other);
    return result;
}

void Release(Pin pin) {
    win32::ToPin(pin)->Release();
}

void Release(PinList list) {
    win32::ToPinList(list)->Release();
}

} // namespace platform
