// Named claims on the simulated desktop: a table of named objects that the tool and, set by a
// test, other processes hold handles on. As strict as the system about names and handles.
#include "platform/sim/sim_desktop.h"

#include "platform/process.h"

#include <stdexcept>

namespace sim {

namespace {

constexpr size_t kLongestObjectName = 260; // MAX_PATH

// A name the system takes: not empty, not too long, and a backslash only after a namespace.
bool AcceptedName(const std::string& name) {
    if (name.empty() || name.size() > kLongestObjectName)
        return false;
    const size_t slash = name.find('\\');
    if (slash == std::string::npos)
        return true;
    const std::string space = name.substr(0, slash);
    return (space == "Global" || space == "Local") &&
           name.find('\\', slash + 1) == std::string::npos && slash + 1 < name.size();
}

bool Exists(const Desktop::NamedObject& object) {
    return object.handlesHere > 0 || object.handlesElsewhere > 0;
}

} // namespace

void HoldClaimElsewhere(const std::string& name) {
    if (!AcceptedName(name))
        throw std::logic_error("a claim name the system would refuse: " + name);
    TheDesktop().namedObjects[name].handlesElsewhere++;
}

void GiveBackClaimElsewhere(const std::string& name) {
    auto it = TheDesktop().namedObjects.find(name);
    if (it == TheDesktop().namedObjects.end() || it->second.handlesElsewhere == 0)
        throw std::logic_error("no other process holds the claim " + name);
    if (--it->second.handlesElsewhere == 0 && !Exists(it->second))
        TheDesktop().namedObjects.erase(it);
}

std::vector<std::string> ClaimsHeldByTheTool() {
    std::vector<std::string> names;
    for (const auto& handle : TheDesktop().claimHandles)
        names.push_back(handle.second);
    return names;
}

} // namespace sim

namespace platform {

using sim::TheDesktop;

Claim TakeNamedClaim(const char* name) {
    if (!name || !sim::AcceptedName(name))
        return nullptr;
    sim::Desktop& d = TheDesktop();
    d.namedObjects[name].handlesHere++;
    const uintptr_t handle = d.nextClaimHandle;
    d.nextClaimHandle += 4;
    d.claimHandles[handle] = name;
    return reinterpret_cast<Claim>(handle);
}

void GiveBackNamedClaim(Claim claim) {
    sim::Desktop& d = TheDesktop();
    auto handle = d.claimHandles.find(reinterpret_cast<uintptr_t>(claim));
    if (handle == d.claimHandles.end())
        throw std::logic_error("a claim given back twice or never taken");
    auto object = d.namedObjects.find(handle->second);
    d.claimHandles.erase(handle);
    if (--object->second.handlesHere == 0 && !sim::Exists(object->second))
        d.namedObjects.erase(object);
}

bool NamedClaimHeld(const char* name) {
    const sim::Desktop& d = TheDesktop();
    auto object = d.namedObjects.find(name ? name : "");
    return object != d.namedObjects.end() && sim::Exists(object->second);
}

} // namespace platform
