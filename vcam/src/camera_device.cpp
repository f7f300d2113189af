#include "camera_device.h"

#include "request_log.h"
#include "state_store.h"
#include "unplug.h"

namespace vcam {

CameraDevice::CameraDevice(int index) {
    const vcam::Config all = LoadConfig();
    config_ = CameraOf(all, index);
    for (const std::string& problem : all.problems)
        LogNote(index, "config ignored " + problem);
}

HRESULT CameraDevice::Presence() const {
    return IsUnplugged(config_.index) ? kDeviceGone : S_OK;
}

const Property* CameraDevice::Find(Interface where, long id) const {
    const auto& table = where == Interface::ProcAmp ? config_.procamp : config_.cameraControl;
    const auto found = table.find(id);
    return found == table.end() ? nullptr : &found->second;
}

void CameraDevice::Current(Interface where, long id, const Property& p, long* value,
                           long* flags) const {
    std::vector<int32_t> words;
    if (LoadStoredWords(config_.index, where, id, &words) && words.size() == 2) {
        *value = words[0];
        *flags = words[1];
        return;
    }
    *value = p.value;
    *flags = p.flags;
}

HRESULT CameraDevice::Range(Interface where, long id, long* minimum, long* maximum, long* step,
                            long* defaultValue, long* caps) const {
    HRESULT result = Presence();
    const Property* p = Find(where, id);
    if (result == S_OK)
        result = config_.Refusal(where, id, Direction::Range);
    if (result == S_OK && !p)
        result = E_PROP_ID_UNSUPPORTED;
    if (result == S_OK && !(minimum && maximum && step && defaultValue && caps))
        result = E_POINTER;
    std::string text = std::string(InterfaceName(where)) + " range id=" + std::to_string(id);
    if (result == S_OK) {
        *minimum = p->minimum;
        *maximum = p->maximum;
        *step = p->step;
        *defaultValue = p->defaultValue;
        *caps = p->caps;
        text += " min=" + std::to_string(p->minimum) + " max=" + std::to_string(p->maximum) +
                " step=" + std::to_string(p->step) + " default=" + std::to_string(p->defaultValue) +
                " caps=" + std::to_string(p->caps);
    }
    LogRequest(config_.index, text, result);
    return result;
}

HRESULT CameraDevice::Get(Interface where, long id, long* value, long* flags) const {
    HRESULT result = Presence();
    const Property* p = Find(where, id);
    if (result == S_OK)
        result = config_.Refusal(where, id, Direction::Get);
    if (result == S_OK && !p)
        result = E_PROP_ID_UNSUPPORTED;
    if (result == S_OK && !(value && flags))
        result = E_POINTER;
    std::string text = std::string(InterfaceName(where)) + " get id=" + std::to_string(id);
    if (result == S_OK) {
        Current(where, id, *p, value, flags);
        text += " value=" + std::to_string(*value) + " flags=" + std::to_string(*flags);
    }
    LogRequest(config_.index, text, result);
    return result;
}

HRESULT CameraDevice::Set(Interface where, long id, long value, long flags) {
    HRESULT result = Presence();
    const Property* p = Find(where, id);
    if (result == S_OK)
        result = config_.Refusal(where, id, Direction::Set);
    if (result == S_OK && !p)
        result = E_PROP_ID_UNSUPPORTED;
    // Exactly one mode, and one the property has; a manual value must lie in the range. An
    // automatic request keeps the value the camera had.
    if (result == S_OK && ((flags != 1 && flags != 2) || !(p->caps & flags)))
        result = E_INVALIDARG;
    if (result == S_OK && flags == 2 && (value < p->minimum || value > p->maximum))
        result = E_INVALIDARG;
    if (result == S_OK) {
        long stored = value, oldFlags = 0;
        if (flags == 1)
            Current(where, id, *p, &stored, &oldFlags);
        StoreWords(config_.index, where, id, {static_cast<int32_t>(stored), flags});
    }
    LogRequest(config_.index,
               std::string(InterfaceName(where)) + " set id=" + std::to_string(id) +
                   " value=" + std::to_string(value) + " flags=" + std::to_string(flags),
               result);
    return result;
}

long CameraDevice::Brightness() const {
    const Property* p = Find(Interface::ProcAmp, 0);
    if (!p)
        return 128;
    long value = 128, flags = 0;
    Current(Interface::ProcAmp, 0, *p, &value, &flags);
    return value;
}

} // namespace vcam
