// Runs a profile case file (see tests/common/profile_case_runner.h) against the simulated
// private-profile functions and prints exactly what the probe prints under the system's own.
#include "../common/profile_case_runner.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/sim/sim_files.h"

namespace {

void CreateWholeFile(const std::string& path, const std::string& bytes) {
    sim::Files().files[path] = bytes;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    const std::string* file = sim::FindFile(path);
    if (file)
        *bytes = *file;
    return file != nullptr;
}

void DeleteWholeFile(const std::string& path) {
    platform::RemoveFile(path.c_str());
}

// A locked file is one the simulated desktop cannot open.
bool LockFile(const std::string& path) {
    if (!sim::FindFile(path))
        return false;
    sim::Files().unreadable.insert(path);
    return true;
}

bool UnlockFile(const std::string& path) {
    return sim::Files().unreadable.erase(path) == 1;
}

void UnlockAll() {
    sim::Files().unreadable.clear();
}

} // namespace

int main(int argc, char** argv) {
    const ProfileSystem simulated = {platform::CurrentDirectory,
                                     platform::ReadProfileInt,
                                     platform::ReadProfileString,
                                     platform::WriteProfileString,
                                     CreateWholeFile,
                                     ReadWholeFile,
                                     DeleteWholeFile,
                                     LockFile,
                                     UnlockFile,
                                     UnlockAll};
    return RunProfileCases(argc, argv, "profile_sim_runner", simulated);
}
