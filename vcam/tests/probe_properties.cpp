#include "probe_properties.h"

namespace probe {
namespace {

constexpr HRESULT kTooShort = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);

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

// One write in order (each row starts from the values the rows before left), and what a Get
// answers after it: a refused write leaves the value as it was.
struct Write {
    bool cameraControl;
    long id, value, flags;
    HRESULT expected;
    long after, afterFlags;
    const char* what;
};

const Write kWrites[] = {
    {false, 0, 256, 2, E_INVALIDARG, 128, 2, "brightness 256 (above the range)"},
    {false, 0, -1, 2, E_INVALIDARG, 128, 2, "brightness -1 (below the range)"},
    {false, 0, 100, 0, E_INVALIDARG, 128, 2, "brightness with flags 0"},
    {false, 1, 40, 1, E_INVALIDARG, 32, 2, "automatic contrast (caps manual only)"},
    {false, 7, 0, 2, E_INVALIDARG, 4000, 1, "white balance 0 (outside 2800..6500)"},
    {false, 7, 5000, 2, S_OK, 5000, 2, "white balance 5000 manual"},
    {false, 7, 0, 1, S_OK, 5000, 1, "white balance automatic keeps its value"},
    {false, 13, 3, 2, E_INVALIDARG, 1, 2, "power line frequency 3"},
    {true, 4, -13, 2, S_OK, -13, 2, "exposure -13 manual (the range's end)"},
    {true, 4, 0, 2, E_INVALIDARG, -13, 2, "exposure 0"},
    {true, 4, -14, 2, E_INVALIDARG, -13, 2, "exposure -14"},
    {true, 19, 2, 2, E_INVALIDARG, 1, 1, "auto-exposure priority 2"},
};

// A vendor write, or with size set a read into a buffer of that many bytes (0: the size query).
struct VendorCase {
    DWORD id;
    std::vector<int> words;
    DWORD size;
    HRESULT expected;
    std::vector<int> after;
    const char* what;
};

const VendorCase kVendorCases[] = {
    {3, {}, 12, kTooShort, {}, "zoom read into 12 bytes"},
    {7, {0, 0, 0, 9, 0}, 0, E_INVALIDARG, {0, 0, 0, 3, 0}, "LED mode 9"},
    {7, {0, 0, 0, 2, 7}, 0, E_INVALIDARG, {0, 0, 0, 3, 0}, "LED identification colour 7"},
    {7, {0, 0, 0, 1}, 0, kTooShort, {0, 0, 0, 3, 0}, "LED written from 16 bytes"},
    {7, {0, 0, 0, 2, 255}, 0, S_OK, {0, 0, 0, 2, 255}, "LED identification 2,255"},
    {5, {3, 0, 0, 100}, 0, E_INVALIDARG, {1, 0, 0, 333}, "exposure mode 3"},
    {5, {2, 0, 0, 0}, 0, E_INVALIDARG, {1, 0, 0, 333}, "exposure time 0"},
};

// IAMVideoProcAmp and IAMCameraControl have the same methods.
template <typename Properties>
void CheckRanges(Properties* properties, const char* what, const Expected* table, size_t count,
                 long missing) {
    long minimum = 0, maximum = 0, step = 0, def = 0, caps = 0, value = 0, flags = 0;
    for (size_t i = 0; i < count; ++i) {
        const Expected& e = table[i];
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
    const HRESULT hr = properties->GetRange(missing, &minimum, &maximum, &step, &def, &caps);
    Check(hr == E_PROP_ID_UNSUPPORTED, "%s %ld is not offered (0x%08lX)", what, missing, hr);
}

template <typename Interface> ComPtr<Interface> Query(IBaseFilter* camera, REFIID iid) {
    ComPtr<Interface> out;
    camera->QueryInterface(iid, reinterpret_cast<void**>(out.GetAddressOf()));
    return out;
}

void CheckVendorSet(IBaseFilter* camera) {
    auto set = Query<IKsPropertySet>(camera, IID_IKsPropertySet);
    Check(static_cast<bool>(set), "the camera answers IKsPropertySet");
    if (!set)
        return;
    for (DWORD id : {3u, 4u, 5u, 7u}) {
        DWORD support = 0;
        const HRESULT hr = set->QuerySupported(kVendorSet, id, &support);
        Check(id == 4 ? hr == E_PROP_ID_UNSUPPORTED : hr == S_OK && support == 3,
              "vendor %lu support 0x%08lX %lu", id, hr, support);
    }
    DWORD returned = 0;
    HRESULT hr = set->Get(kVendorSet, 7, nullptr, 0, nullptr, 0, &returned);
    Check(hr == S_OK && returned == 20, "LED size query answers 20 (%lu)", returned);
    for (const VendorCase& c : kVendorCases) {
        std::vector<int> after;
        if (c.size) {
            VendorWords(camera, c.id, c.size, &hr);
        } else {
            hr = SetVendorWords(camera, c.id, c.words);
            HRESULT read = S_OK;
            after = VendorWords(camera, c.id, 64, &read);
        }
        Check(hr == c.expected && after == c.after, "vendor %lu %s: 0x%08lX (expected 0x%08lX)",
              c.id, c.what, hr, c.expected);
    }
    const GUID other = {0x12345678, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};
    unsigned char bytes[20] = {};
    Check(set->Get(other, 7, nullptr, 0, bytes, 20, &returned) == E_PROP_SET_UNSUPPORTED,
          "another property set is refused");
}

} // namespace

void CheckProperties(IBaseFilter* camera) {
    auto procamp = Query<IAMVideoProcAmp>(camera, IID_IAMVideoProcAmp);
    auto control = Query<IAMCameraControl>(camera, IID_IAMCameraControl);
    Check(procamp && control, "the camera answers IAMVideoProcAmp and IAMCameraControl");
    if (procamp && control) {
        CheckRanges(procamp.Get(), "procamp", kProcAmp, sizeof kProcAmp / sizeof kProcAmp[0], 2);
        CheckRanges(control.Get(), "cameracontrol", kCameraControl,
                    sizeof kCameraControl / sizeof kCameraControl[0], 0);
        for (const Write& w : kWrites) {
            long value = 0, flags = 0;
            const HRESULT hr = w.cameraControl ? control->Set(w.id, w.value, w.flags)
                                               : procamp->Set(w.id, w.value, w.flags);
            const HRESULT got = w.cameraControl ? control->Get(w.id, &value, &flags)
                                                : procamp->Get(w.id, &value, &flags);
            Check(hr == w.expected && got == S_OK && value == w.after && flags == w.afterFlags,
                  "%s: 0x%08lX (expected 0x%08lX), then %ld flags %ld", w.what, hr, w.expected,
                  value, flags);
        }
    }
    CheckVendorSet(camera);
}

std::vector<int> VendorWords(IBaseFilter* camera, DWORD id, DWORD size, HRESULT* result) {
    auto set = Query<IKsPropertySet>(camera, IID_IKsPropertySet);
    std::vector<int> words;
    unsigned char bytes[64] = {};
    DWORD returned = 0;
    *result = set ? set->Get(kVendorSet, id, nullptr, 0, bytes, size, &returned) : E_NOINTERFACE;
    for (DWORD i = 0; *result == S_OK && i + 4 <= returned; i += 4)
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

HRESULT GetBrightness(IBaseFilter* camera, long* value, long* flags) {
    auto procamp = Query<IAMVideoProcAmp>(camera, IID_IAMVideoProcAmp);
    return procamp ? procamp->Get(0, value, flags) : E_NOINTERFACE;
}

HRESULT SetBrightness(IBaseFilter* camera, long value) {
    auto procamp = Query<IAMVideoProcAmp>(camera, IID_IAMVideoProcAmp);
    return procamp ? procamp->Set(0, value, 2) : E_NOINTERFACE;
}

} // namespace probe
