// The vendor property set of CameraDevice. Data are little-endian 32-bit words:
//   id 3 zoom      16 bytes: words 0-2 = 0, word 3 the zoom
//   id 5 exposure  16 bytes: word 0 the mode (1 automatic, 2 manual), words 1-2 = 0,
//                            word 3 the exposure time in units of 0.0001 s
//   id 7 LED       20 bytes: words 0-2 = 0, word 3 the mode (0 off, 1 on, 2 identification,
//                            3 automatic), word 4 = 255 while identifying, else 0
#include "camera_device.h"

#include "request_log.h"
#include "state_store.h"

namespace vcam {
namespace {

constexpr HRESULT kTooShort = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);

int32_t WordAt(const void* data, size_t index) {
    const auto* bytes = static_cast<const unsigned char*>(data) + index * 4;
    return static_cast<int32_t>(
        static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
        static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

void PutWord(void* data, size_t index, int32_t word) {
    auto* bytes = static_cast<unsigned char*>(data) + index * 4;
    const auto w = static_cast<uint32_t>(word);
    for (int b = 0; b < 4; ++b)
        bytes[b] = static_cast<unsigned char>(w >> (8 * b));
}

// The values the camera's firmware would refuse.
bool Acceptable(DWORD id, const std::vector<int32_t>& w) {
    if (id == 5)
        return (w[0] == 1 || w[0] == 2) && w[3] > 0;
    if (id == 7)
        return w[3] >= 0 && w[3] <= 3 && (w[4] == 0 || w[4] == 255);
    return true;
}

} // namespace

DWORD VendorPropertySize(DWORD id) {
    switch (id) {
    case 3:
    case 5:
        return 16;
    case 7:
        return 20;
    default:
        return 0;
    }
}

std::vector<int32_t> CameraDevice::VendorWords(DWORD id) const {
    std::vector<int32_t> words;
    const size_t count = VendorPropertySize(id) / 4;
    if (!LoadStoredWords(config_.index, Interface::Vendor, static_cast<long>(id), &words) ||
        words.size() != count) {
        const auto configured = config_.vendor.find(static_cast<long>(id));
        words = configured == config_.vendor.end() ? std::vector<int32_t>() : configured->second;
    }
    words.resize(count, 0);
    return words;
}

HRESULT CameraDevice::VendorGet(DWORD id, void* data, DWORD size, DWORD* returned) const {
    const DWORD need = VendorPropertySize(id);
    HRESULT result = Presence();
    if (result == S_OK)
        result = config_.Refusal(Interface::Vendor, static_cast<long>(id), Direction::Get);
    if (result == S_OK && need == 0)
        result = E_PROP_ID_UNSUPPORTED;
    if (result == S_OK && !returned)
        result = E_POINTER;
    std::string text = "vendor get id=" + std::to_string(id);
    if (result == S_OK && data && size < need)
        result = kTooShort;
    if (result == S_OK) {
        // Without a buffer the caller asks for the size only.
        *returned = need;
        if (data) {
            const std::vector<int32_t> words = VendorWords(id);
            for (size_t i = 0; i < words.size(); ++i)
                PutWord(data, i, words[i]);
            text += " words=" + JoinWords(words.data(), words.size());
        }
    }
    // The size shows only when it is not the property's own, so usual lines read the same.
    if (size != need || !data)
        text += " size=" + std::to_string(data ? size : 0);
    LogRequest(config_.index, text, result);
    return result;
}

HRESULT CameraDevice::VendorSet(DWORD id, const void* data, DWORD size) {
    const DWORD need = VendorPropertySize(id);
    HRESULT result = Presence();
    if (result == S_OK)
        result = config_.Refusal(Interface::Vendor, static_cast<long>(id), Direction::Set);
    if (result == S_OK && need == 0)
        result = E_PROP_ID_UNSUPPORTED;
    if (result == S_OK && !data)
        result = E_POINTER;
    std::vector<int32_t> words;
    if (data)
        for (DWORD i = 0; i < size / 4 && i < 8; ++i)
            words.push_back(WordAt(data, i));
    if (result == S_OK && size < need)
        result = kTooShort;
    if (result == S_OK) {
        words.resize(need / 4);
        if (!Acceptable(id, words))
            result = E_INVALIDARG;
        else
            StoreWords(config_.index, Interface::Vendor, static_cast<long>(id), words);
    }
    LogRequest(config_.index,
               "vendor set id=" + std::to_string(id) +
                   " words=" + JoinWords(words.data(), words.size()) +
                   (size != need ? " size=" + std::to_string(size) : std::string()),
               result);
    return result;
}

HRESULT CameraDevice::VendorSupport(DWORD id, DWORD* support) const {
    HRESULT result = Presence();
    if (result == S_OK)
        result = config_.Refusal(Interface::Vendor, static_cast<long>(id), Direction::Range);
    if (result == S_OK && VendorPropertySize(id) == 0)
        result = E_PROP_ID_UNSUPPORTED;
    if (result == S_OK && !support)
        result = E_POINTER;
    if (result == S_OK)
        *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
    LogRequest(config_.index,
               "vendor support id=" + std::to_string(id) +
                   (result == S_OK ? " support=" + std::to_string(*support) : std::string()),
               result);
    return result;
}

} // namespace vcam
