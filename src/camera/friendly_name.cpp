#include "camera/friendly_name.h"

bool IsVendorCamera(const std::u16string& friendlyName) {
    return friendlyName.find(u"Parvanex") != std::u16string::npos;
}

void NarrowName(const std::u16string& friendlyName, char* name, size_t size) {
    size_t i = 0;
    for (; i + 1 < size && i < friendlyName.size(); ++i)
        name[i] = static_cast<char>(friendlyName[i] & 0xFF);
    name[i] = '\0';
}
