// capture_probe.exe: the media framework's and the system's calls of one still capture, repeated
// without the tool's logic, with the process's resident memory printed as it goes. It tells the
// memory that Wine and the framework keep per capture from the memory the tool keeps.
//
//   capture_probe.exe MODE COUNT INTERVAL_MS FOLDER
//
// The first video input device is built into camera -> sample grabber -> VMR9 (no category, as the
// tool connects it) and run; then COUNT rounds, INTERVAL_MS apart, each doing MODE:
//   idle    nothing (the running graph alone)
//   buffer  GetCurrentBuffer for the size, CoTaskMemAlloc, GetCurrentBuffer into it, CoTaskMemFree
//   type    buffer, plus GetConnectedMediaType and freeing its format block and IUnknown
//   full    type, plus the settings file read and write and the bitmap file written, renamed into
//           place and deleted, as a counted capture does
//   rebuild the whole graph stopped, released and built again up to its first frame, as the tool's
//           rescan after a removal and an arrival does (without the removal)
// Prints "ROUND RSS_KB" every 50 rounds (every 5 for rebuild; round 0 before the first) and "done"
// at the end.
#define STRSAFE_NO_DEPRECATE
#include <windows.h>

#include <dshow.h>
#include <psapi.h>
#include <qedit.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const CLSID kSampleGrabberClass = {
    0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const IID kSampleGrabberInterface = {
    0x6B652FFF, 0x11FE, 0x4FCE, {0x92, 0xAD, 0x02, 0x66, 0xB5, 0xD7, 0xC7, 0x8F}};
const CLSID kVmr9Class = {
    0x51B4ABF3, 0x748F, 0x4E3B, {0xA2, 0x76, 0xC8, 0x28, 0x33, 0x0E, 0x92, 0x6A}};

using Grabber = ISampleGrabber;

// The process's resident memory. Wine fills the working set from the kernel's VmRSS of the
// process itself (a file opened here would be opened by the Wine server, whose /proc/self it is).
long ResidentKb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<long>(counters.WorkingSetSize / 1024);
}

// Waits with the thread's messages handled, as the tool's message loop would.
void Pump(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

IBaseFilter* FirstCamera() {
    ICreateDevEnum* devices = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICreateDevEnum, reinterpret_cast<void**>(&devices))))
        return nullptr;
    IEnumMoniker* list = nullptr;
    IBaseFilter* filter = nullptr;
    if (devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &list, 0) == S_OK) {
        IMoniker* moniker = nullptr;
        if (list->Next(1, &moniker, nullptr) == S_OK) {
            moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                  reinterpret_cast<void**>(&filter));
            moniker->Release();
        }
        list->Release();
    }
    devices->Release();
    return filter;
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) != FALSE;
}

struct Round {
    Grabber* grabber;
    std::string mode;
    std::string folder;
    std::string settings;
    long counter = 0;

    bool Run() {
        if (mode == "idle")
            return true;
        long size = 0;
        if (grabber->GetCurrentBuffer(&size, nullptr) != S_OK || size <= 0)
            return false;
        void* frame = CoTaskMemAlloc(size);
        long copied = size;
        const bool copiedOk =
            frame && grabber->GetCurrentBuffer(&copied, static_cast<long*>(frame)) == S_OK;
        bool ok = copiedOk;
        if (ok && mode != "buffer") {
            AM_MEDIA_TYPE type{};
            ok = grabber->GetConnectedMediaType(&type) == S_OK;
            if (ok && mode == "full")
                ok = WriteImage(type, frame, static_cast<DWORD>(size));
            if (type.cbFormat != 0 || type.pbFormat)
                CoTaskMemFree(type.pbFormat);
            if (type.pUnk)
                type.pUnk->Release();
        }
        CoTaskMemFree(frame);
        return ok;
    }

    bool WriteImage(const AM_MEDIA_TYPE& type, const void* pixels, DWORD size) {
        char savePath[260] = "";
        GetPrivateProfileStringA("General", "ImageSavePath", "", savePath, 255, settings.c_str());
        ++counter;
        char number[16];
        std::snprintf(number, sizeof number, "%d", static_cast<int>(counter));
        WritePrivateProfileStringA("General", "ImageCounter", number, settings.c_str());
        char path[300];
        std::snprintf(path, sizeof path, "%s\\Probe%06ld.bmp", folder.c_str(), counter);
        const std::string partial = std::string(path) + ".partial";
        HANDLE file =
            CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const DWORD infoSize = type.cbFormat - 48;
        unsigned char header[14] = {'B', 'M'};
        const DWORD fileSize = 14 + infoSize + size;
        const DWORD offset = 14 + infoSize;
        std::memcpy(header + 2, &fileSize, 4);
        std::memcpy(header + 10, &offset, 4);
        const bool written = WriteAll(file, header, sizeof header) &&
                             WriteAll(file, type.pbFormat + 48, infoSize) &&
                             WriteAll(file, pixels, size);
        CloseHandle(file);
        const bool moved = written && MoveFileExA(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING);
        DeleteFileA(moved ? path : partial.c_str());
        return moved;
    }
};

// One camera -> sample grabber -> VMR9 graph, as the tool builds its preview, running with a frame
// in the grabber; Release gives back every part.
struct Graph {
    IBaseFilter* camera = nullptr;
    IGraphBuilder* graph = nullptr;
    ICaptureGraphBuilder2* builder = nullptr;
    IBaseFilter* grabberFilter = nullptr;
    IBaseFilter* renderer = nullptr;
    Grabber* grabber = nullptr;
    IMediaControl* control = nullptr;

    bool Build() {
        camera = FirstCamera();
        if (!camera) {
            std::fputs("no camera\n", stderr);
            return false;
        }
        HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IGraphBuilder, reinterpret_cast<void**>(&graph));
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(&builder));
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(kSampleGrabberClass, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IBaseFilter, reinterpret_cast<void**>(&grabberFilter));
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(kVmr9Class, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(&renderer));
        if (SUCCEEDED(hr))
            hr = grabberFilter->QueryInterface(kSampleGrabberInterface,
                                               reinterpret_cast<void**>(&grabber));
        if (SUCCEEDED(hr))
            hr = graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
        if (FAILED(hr)) {
            std::fprintf(stderr, "graph parts not created: 0x%08lX\n", hr);
            return false;
        }
        builder->SetFiltergraph(graph);
        AM_MEDIA_TYPE wanted{};
        wanted.majortype = MEDIATYPE_Video;
        wanted.subtype = MEDIASUBTYPE_RGB24;
        grabber->SetMediaType(&wanted);
        grabber->SetBufferSamples(TRUE);
        graph->AddFilter(camera, L"Parvanex Camera");
        graph->AddFilter(grabberFilter, L"Grabber");
        graph->AddFilter(renderer, L"Renderer");
        hr = builder->RenderStream(nullptr, &MEDIATYPE_Video, camera, grabberFilter, renderer);
        if (FAILED(hr)) {
            std::fprintf(stderr, "RenderStream failed: 0x%08lX\n", hr);
            return false;
        }
        control->Run();
        OAFilterState state = State_Stopped;
        control->GetState(2500, &state);
        long size = 0;
        for (int waited = 0; grabber->GetCurrentBuffer(&size, nullptr) != S_OK; waited += 10) {
            if (waited > 10000) {
                std::fputs("no frame\n", stderr);
                return false;
            }
            Pump(10);
        }
        return true;
    }

    void Release() {
        if (control)
            control->Stop();
        // The interfaces asked of the parts first, then the parts themselves.
        Drop(control);
        Drop(grabber);
        Drop(renderer);
        Drop(grabberFilter);
        Drop(builder);
        Drop(graph);
        Drop(camera);
    }

    template <class Part> static void Drop(Part*& part) {
        if (part)
            part->Release();
        part = nullptr;
    }
};

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc != 5) {
        std::fputs(
            "usage: capture_probe.exe idle|buffer|type|full|rebuild COUNT INTERVAL_MS FOLDER\n",
            stderr);
        return 2;
    }
    const std::string mode = argv[1];
    const long count = std::strtol(argv[2], nullptr, 10);
    const DWORD interval = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
    if (mode != "idle" && mode != "buffer" && mode != "type" && mode != "full" &&
        mode != "rebuild") {
        std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
        return 2;
    }
    CoInitialize(nullptr);
    Graph graph;
    if (!graph.Build())
        return 1;

    char directory[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, directory);
    Round round{graph.grabber, mode, argv[4], std::string(directory) + "\\probe.ini"};
    WritePrivateProfileStringA("General", "ImageSavePath", "C:\\Probe.bmp", round.settings.c_str());
    // A rebuild is the costly round: its memory is printed every 5 rounds.
    const long sampleEvery = mode == "rebuild" ? 5 : 50;
    std::printf("0 %ld\n", ResidentKb());
    for (long i = 1; i <= count; ++i) {
        if (mode == "rebuild") {
            graph.Release();
            if (!graph.Build()) {
                std::fprintf(stderr, "round %ld: no graph\n", i);
                return 1;
            }
        } else if (!round.Run()) {
            std::fprintf(stderr, "round %ld failed\n", i);
            return 1;
        }
        Pump(interval);
        if (i % sampleEvery == 0)
            std::printf("%ld %ld\n", i, ResidentKb());
    }
    std::puts("done");
    graph.Release();
    CoUninitialize();
    return 0;
}
