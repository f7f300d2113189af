// IAMStreamConfig over the configured capability list, and the pin's category property.
//
// The current format, until SetFormat or a connection changes it, is the entry named by
// "current-format", else the first RGB24 entry of the list (1920x1080 at 30 fps by default),
// else the first entry.
#include "output_pin.h"

#include "request_log.h"
#include "vcam_filter.h"

#include <uuids.h>

namespace vcam {

void OutputPin::ResetFormat() {
    Lock lock(lock_);
    current_.Clear();
    formatChosen_ = false;
}

const AM_MEDIA_TYPE& OutputPin::CurrentFormat() {
    if (current_.type.majortype != GUID_NULL)
        return current_.type;
    const auto& formats = owner_.Device().Config().formats;
    const Capability* chosen = formats.empty() ? nullptr : &formats.front();
    for (const Capability& format : formats)
        if (format.subtype == MEDIASUBTYPE_RGB24) {
            chosen = &format;
            break;
        }
    const int named = owner_.Device().Config().currentFormat;
    if (named >= 0 && static_cast<size_t>(named) < formats.size())
        chosen = &formats[static_cast<size_t>(named)];
    if (chosen)
        BuildMediaType(*chosen, chosen->minInterval, &current_.type);
    return current_.type;
}

STDMETHODIMP OutputPin::SetFormat(AM_MEDIA_TYPE* type) {
    Lock filterLock(owner_.FilterLock());
    Lock lock(lock_);
    const CameraDevice& device = owner_.Device();
    HRESULT result = device.Presence();
    if (result == S_OK)
        result = device.Config().Refusal(Interface::StreamConfig, 0, Direction::Set);
    if (result == S_OK && !type)
        result = E_POINTER;
    if (result == S_OK && owner_.StateUnlocked() != State_Stopped)
        result = VFW_E_NOT_STOPPED;
    LONGLONG interval = 0;
    const int index =
        result == S_OK ? MatchCapability(device.Config().formats, *type, &interval) : -1;
    if (result == S_OK && index < 0)
        result = VFW_E_INVALIDMEDIATYPE;
    OwnedMediaType chosen;
    if (result == S_OK)
        result = BuildMediaType(device.Config().formats[static_cast<size_t>(index)], interval,
                                &chosen.type);
    // A connected pin keeps its peer only if the peer takes the new format; the graph then
    // reconnects the link.
    if (result == S_OK && peer_ && peer_->QueryAccept(&chosen.type) != S_OK)
        result = VFW_E_INVALIDMEDIATYPE;
    if (result == S_OK) {
        current_.CopyFrom(chosen.type);
        formatChosen_ = true;
    }
    LogRequest(device.Index(),
               "streamconfig setformat " + (type ? DescribeVideoType(*type) : "null"), result);
    if (result == S_OK && peer_ && owner_.Graph())
        owner_.Graph()->Reconnect(static_cast<IPin*>(this));
    return result;
}

STDMETHODIMP OutputPin::GetFormat(AM_MEDIA_TYPE** type) {
    Lock lock(lock_);
    const CameraDevice& device = owner_.Device();
    HRESULT result = device.Presence();
    if (result == S_OK)
        result = device.Config().Refusal(Interface::StreamConfig, 0, Direction::Get);
    if (result == S_OK && !type)
        result = E_POINTER;
    if (result == S_OK) {
        *type = NewMediaTypeCopy(CurrentFormat());
        if (!*type)
            result = E_OUTOFMEMORY;
    }
    LogRequest(device.Index(),
               "streamconfig getformat" +
                   (result == S_OK ? " " + DescribeVideoType(**type) : std::string()),
               result);
    return result;
}

STDMETHODIMP OutputPin::GetNumberOfCapabilities(int* count, int* size) {
    const CameraDevice& device = owner_.Device();
    HRESULT result = device.Presence();
    if (result == S_OK)
        result = device.Config().Refusal(Interface::StreamConfig, -1, Direction::Range);
    if (result == S_OK && !(count && size))
        result = E_POINTER;
    if (result == S_OK) {
        *count = static_cast<int>(device.Config().formats.size());
        *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    }
    LogRequest(device.Index(),
               "streamconfig count" +
                   (result == S_OK ? " count=" + std::to_string(*count) : std::string()),
               result);
    return result;
}

STDMETHODIMP OutputPin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) {
    const CameraDevice& device = owner_.Device();
    const auto& formats = device.Config().formats;
    HRESULT result = device.Presence();
    if (result == S_OK)
        result = device.Config().Refusal(Interface::StreamConfig, index, Direction::Range);
    if (result == S_OK && !(type && caps))
        result = E_POINTER;
    if (result == S_OK && (index < 0 || static_cast<size_t>(index) >= formats.size()))
        result = S_FALSE;
    std::string text = "streamconfig caps index=" + std::to_string(index);
    if (result == S_OK) {
        const Capability& format = formats[static_cast<size_t>(index)];
        OwnedMediaType built;
        result = BuildMediaType(format, format.minInterval, &built.type);
        if (result == S_OK) {
            *type = NewMediaTypeCopy(built.type);
            result = *type ? S_OK : E_OUTOFMEMORY;
        }
        if (result == S_OK) {
            FillStreamCaps(format, reinterpret_cast<VIDEO_STREAM_CONFIG_CAPS*>(caps));
            text += " " + DescribeVideoType(built.type);
        }
    }
    LogRequest(device.Index(), text, result);
    return result;
}

STDMETHODIMP OutputPin::Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) {
    return E_NOTIMPL; // the category is read-only
}

STDMETHODIMP OutputPin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size,
                            DWORD* returned) {
    if (set != AMPROPSETID_Pin)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (returned)
        *returned = sizeof(GUID);
    if (!data)
        return returned ? S_OK : E_POINTER;
    if (size < sizeof(GUID))
        return E_UNEXPECTED;
    *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
    return S_OK;
}

STDMETHODIMP OutputPin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (set != AMPROPSETID_Pin)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (support)
        *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

} // namespace vcam
