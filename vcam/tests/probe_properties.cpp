#include "probe_properties.h"

#include <vector>

namespace probe {
namespace {

struct Expected {
    long id, minimum, maximum, step, defaultValue, caps, flags;
};

// A typical webcam, as the camera presents itself without configuration.
const Expected kProcAmp[] = {{0, 0, 255, 1, 128, 3, 2},      {1, 0, 255, 1, 32, 2, 2},
                             {3, 0, 255, 1, 64, 2, 2},       {4, 0, 255, 1, 24, 2, 2},
                             {7, 2800, 6500, 1, 4000, 3, 1}, {8, 0, 1, 1, 0, 2, 2},
                             {9, 0, 255, 1, 0, 2, 2},        {13, 0, 2, 1, 1, 2, 2}};
const Expected kCameraControl[] = {
    {4, -13, -1, 1, -6, 3, 1}, {6, 0, 255, 1, 128, 3, 1}, {19, 0, 1, 1, 1, 3, 1}};

// IAMVideoProcAmp and IAMCameraControl have the same methods.
template <typename Properties>
void CheckTable(Properties* properties, const char* what, const Expected* table, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const Expected& e = table[i];
        long minimum = 0, maximum = 0, step = 0, def = 0, caps = 0, value = 0, flags = 0;
        // Arguments are evaluated in no fixed order: request first, report after.
        HRESULT hr = properties->GetRange(e.id, &minimum, &maximum, &step, &def, &caps);
        Check(hr == S_OK && minimum == e.minimum && maximum == e.maximum && step == e.step &&
                  def == e.defaultValue && caps == e.caps,
              "%s %ld range %ld..%ld step %ld default %ld caps %ld (hr 0x%08lX)", what, e.id,
              minimum, maximum, step, def, caps, hr);
        hr = properties->Get(e.id, &value, &flags);
        Check(hr == S_OK && value == e.defaultValue && flags == e.flags,
              "%s %ld starts at %ld flags %ld", what, e.id, value, flags);
    }
}

template <typename Interface> ComPtr<Interface> Query(IBaseFilter* camera, REFIID iid) {
    ComPtr<Interface> out;
    camera->QueryInterface(iid, reinterpret_cast<void**>(out.GetAddressOf()));
    return out;
}

} // namespace

void CheckDefaults(IBaseFilter* camera, int index) {
    auto procamp = Query<IAMVideoProcAmp>(camera, IID_IAMVideoProcAmp);
    auto control = Query<IAMCameraControl>(camera, IID_IAMCameraControl);
    Check(procamp && control, "camera %d answers IAMVideoProcAmp and IAMCameraControl", index);
    if (!procamp || !control)
        return;
    CheckTable(procamp.Get(), "procamp", kProcAmp, sizeof kProcAmp / sizeof kProcAmp[0]);
    CheckTable(control.Get(), "cameracontrol", kCameraControl,
               sizeof kCameraControl / sizeof kCameraControl[0]);
    long a = 0, b = 0, c = 0, d = 0, e = 0;
    Check(procamp->GetRange(2, &a, &b, &c, &d, &e) == E_PROP_ID_UNSUPPORTED,
          "procamp 2 (hue) is not offered");
    Check(control->GetRange(0, &a, &b, &c, &d, &e) == E_PROP_ID_UNSUPPORTED,
          "cameracontrol 0 (pan) is not offered");
}

void CheckStandardRequests(IBaseFilter* camera, int index) {
    auto procamp = Query<IAMVideoProcAmp>(camera, IID_IAMVideoProcAmp);
    auto control = Query<IAMCameraControl>(camera, IID_IAMCameraControl);
    if (!procamp || !control)
        return;
    long value = 0, flags = 0;
    Check(procamp->Set(0, 200, 2) == S_OK, "brightness 200 manual accepted");
    HRESULT hr = procamp->Get(0, &value, &flags);
    Check(hr == S_OK && value == 200 && flags == 2,
          "brightness reads back 200 flags 2 (got %ld %ld)", value, flags);
    Check(procamp->Set(0, 256, 2) == E_INVALIDARG, "brightness 256 refused with E_INVALIDARG");
    Check(procamp->Set(0, -1, 2) == E_INVALIDARG, "brightness -1 refused with E_INVALIDARG");
    Check(procamp->Set(0, 100, 0) == E_INVALIDARG, "flags 0 refused");
    Check(procamp->Set(1, 40, 1) == E_INVALIDARG, "automatic contrast refused (caps manual)");
    hr = procamp->Get(0, &value, &flags);
    Check(hr == S_OK && value == 200, "refused sets left brightness at 200 (got %ld)", value);
    Check(procamp->Set(7, 0, 2) == E_INVALIDARG, "white balance 0 outside 2800..6500 refused");
    hr = procamp->Set(7, 5000, 2) == S_OK ? procamp->Get(7, &value, &flags) : E_FAIL;
    Check(hr == S_OK && value == 5000 && flags == 2, "white balance 5000 manual (got %ld %ld)",
          value, flags);
    hr = procamp->Set(7, 0, 1) == S_OK ? procamp->Get(7, &value, &flags) : E_FAIL;
    Check(hr == S_OK && value == 5000 && flags == 1,
          "white balance back to automatic keeps 5000 (got %ld %ld)", value, flags);
    Check(procamp->Set(13, 3, 2) == E_INVALIDARG, "power line frequency 3 refused");
    Check(procamp->Set(13, 2, 2) == S_OK, "power line frequency 2 accepted");
    hr = control->Set(4, -13, 2) == S_OK ? control->Get(4, &value, &flags) : E_FAIL;
    Check(hr == S_OK && value == -13 && flags == 2, "exposure -13 manual (got %ld %ld)", value,
          flags);
    Check(control->Set(4, 0, 2) == E_INVALIDARG, "exposure 0 refused");
    Check(control->Set(4, -14, 2) == E_INVALIDARG, "exposure -14 refused");
    Check(control->Set(6, 10, 2) == S_OK, "focus 10 manual accepted");
    Check(control->Set(19, 2, 2) == E_INVALIDARG, "auto-exposure priority 2 refused");
    Check(Logged("cam=" + std::to_string(index) +
                 " procamp set id=0 value=200 flags=2 hr=0x00000000"),
          "log has the brightness set");
    Check(Logged("cam=" + std::to_string(index) +
                 " procamp set id=0 value=256 flags=2 hr=0x80070057"),
          "log has the refused brightness set");
    Check(Logged("cam=" + std::to_string(index) +
                 " cameracontrol range id=4 min=-13 max=-1 step=1 default=-6 caps=3 hr=0x00000000"),
          "log has the exposure range");
}

std::vector<int> VendorWords(IBaseFilter* camera, DWORD id, DWORD size, HRESULT* result) {
    auto set = Query<IKsPropertySet>(camera, IID_IKsPropertySet);
    std::vector<int> words;
    if (!set) {
        *result = E_NOINTERFACE;
        return words;
    }
    unsigned char bytes[64] = {};
    DWORD returned = 0;
    *result = set->Get(kVendorSet, id, nullptr, 0, bytes, size, &returned);
    if (*result != S_OK)
        return words;
    for (DWORD i = 0; i + 4 <= returned; i += 4)
        words.push_back(static_cast<int>(bytes[i] | bytes[i + 1] << 8 | bytes[i + 2] << 16 |
                                         static_cast<unsigned>(bytes[i + 3]) << 24));
    return words;
}

HRESULT SetVendorWords(IBaseFilter* camera, DWORD id, const std::vector<int>& words) {
    auto set = Query<IKsPropertySet>(camera, IID_IKsPropertySet);
    if (!set)
        return E_NOINTERFACE;
    std::vector<unsigned char> bytes;
    for (int w : words)
        for (int b = 0; b < 4; ++b)
            bytes.push_back(static_cast<unsigned char>(static_cast<unsigned>(w) >> (8 * b)));
    return set->Set(kVendorSet, id, nullptr, 0, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void CheckVendorSet(IBaseFilter* camera, int index) {
    auto set = Query<IKsPropertySet>(camera, IID_IKsPropertySet);
    Check(static_cast<bool>(set), "camera %d answers IKsPropertySet", index);
    if (!set)
        return;
    for (DWORD id : {3u, 5u, 7u}) {
        DWORD support = 0;
        const HRESULT hr = set->QuerySupported(kVendorSet, id, &support);
        Check(hr == S_OK && support == 3, "vendor %lu supports get and set (%lu)", id, support);
    }
    DWORD support = 0;
    Check(FAILED(set->QuerySupported(kVendorSet, 4, &support)), "vendor 4 does not exist");
    HRESULT hr = S_OK;
    Check(VendorWords(camera, 3, 16, &hr) == std::vector<int>{0, 0, 0, 100}, "zoom starts 100");
    Check(VendorWords(camera, 5, 16, &hr) == std::vector<int>{1, 0, 0, 333},
          "exposure starts automatic 333");
    Check(VendorWords(camera, 7, 20, &hr) == std::vector<int>{0, 0, 0, 3, 0}, "LED starts 3");
    VendorWords(camera, 7, 16, &hr);
    Check(FAILED(hr), "LED get into 16 bytes fails (0x%08lX)", hr);
    VendorWords(camera, 3, 12, &hr);
    Check(FAILED(hr), "zoom get into 12 bytes fails (0x%08lX)", hr);
    DWORD returned = 0;
    hr = set->Get(kVendorSet, 7, nullptr, 0, nullptr, 0, &returned);
    Check(hr == S_OK && returned == 20, "LED size query answers 20 (%lu)", returned);
    Check(SetVendorWords(camera, 7, {0, 0, 0, 1, 0}) == S_OK &&
              VendorWords(camera, 7, 20, &hr) == std::vector<int>{0, 0, 0, 1, 0},
          "LED on");
    Check(SetVendorWords(camera, 7, {0, 0, 0, 0, 0}) == S_OK &&
              VendorWords(camera, 7, 20, &hr) == std::vector<int>{0, 0, 0, 0, 0},
          "LED off");
    Check(SetVendorWords(camera, 7, {0, 0, 0, 9, 0}) == E_INVALIDARG, "LED mode 9 refused");
    Check(FAILED(SetVendorWords(camera, 7, {0, 0, 0, 1})), "LED set from 16 bytes fails");
    Check(SetVendorWords(camera, 7, {0, 0, 0, 2, 255}) == S_OK &&
              VendorWords(camera, 7, 20, &hr) == std::vector<int>{0, 0, 0, 2, 255},
          "LED identification 2,255");
    Check(SetVendorWords(camera, 3, {0, 0, 0, 150}) == S_OK &&
              VendorWords(camera, 3, 16, &hr) == std::vector<int>{0, 0, 0, 150},
          "zoom 150");
    Check(SetVendorWords(camera, 5, {2, 0, 0, 100}) == S_OK &&
              VendorWords(camera, 5, 16, &hr) == std::vector<int>{2, 0, 0, 100},
          "exposure manual 100");
    Check(SetVendorWords(camera, 5, {3, 0, 0, 100}) == E_INVALIDARG, "exposure mode 3 refused");
    const GUID other = {0x12345678, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};
    unsigned char bytes[20] = {};
    Check(set->Get(other, 7, nullptr, 0, bytes, 20, &returned) == E_PROP_SET_UNSUPPORTED,
          "another property set is refused");
    const std::string cam = "cam=" + std::to_string(index);
    Check(Logged(cam + " vendor set id=7 words=0,0,0,1,0 hr=0x00000000"), "log: LED on");
    Check(Logged(cam + " vendor get id=7 words=0,0,0,2,255 hr=0x00000000"),
          "log: LED identification read");
    Check(Logged(cam + " vendor set id=5 words=2,0,0,100 hr=0x00000000"), "log: exposure set");
}

HRESULT GetBrightness(IBaseFilter* camera, long* value, long* flags) {
    auto procamp = Query<IAMVideoProcAmp>(camera, IID_IAMVideoProcAmp);
    return procamp ? procamp->Get(0, value, flags) : E_NOINTERFACE;
}

HRESULT SetBrightness(IBaseFilter* camera, long value) {
    auto procamp = Query<IAMVideoProcAmp>(camera, IID_IAMVideoProcAmp);
    return procamp ? procamp->Set(0, value, 2) : E_NOINTERFACE;
}

} // namespace probe
