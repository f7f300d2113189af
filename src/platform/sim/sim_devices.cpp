// Device lists, bindings and the camera interfaces of the simulated devices.
#include "platform/sim/sim_devices.h"

#include "platform/sim/sim_graph.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace sim {

using platform::HResult;

namespace {

constexpr HResult kNoInterface = platform::kNoInterface;

struct FilterObject {
    int camera;
    int references;
    int generation; // the camera's generation when it was bound
};

struct DeviceListObject {
    std::vector<int> cameras;
    size_t next = 0;
};

struct DeviceObject {
    int camera;
    int generation;
};

// Interface objects carry the camera they were asked of and its generation.
struct InterfaceObject {
    int camera;
    int generation;
};

struct DeviceState {
    std::vector<SimCamera> cameras;
    std::vector<Request> requests;
    std::vector<std::unique_ptr<FilterObject>> filters;
    HResult enumeratorResult = 0;
    int deviceObjectsAlive = 0;
    std::function<void(int, Interface, Direction, int32_t)> beforeRequest;
};

DeviceState& State() {
    static DeviceState state;
    return state;
}

template <class Handle> InterfaceObject* Object(Handle handle) {
    return reinterpret_cast<InterfaceObject*>(handle);
}

int interfacesAlive = 0;

template <class Handle> Handle NewInterface(int camera, int generation) {
    ++interfacesAlive;
    return reinterpret_cast<Handle>(new InterfaceObject{camera, generation});
}

void DeleteInterface(InterfaceObject* object) {
    --interfacesAlive;
    delete object;
}

FilterObject* Object(platform::Filter filter) {
    auto* object = reinterpret_cast<FilterObject*>(filter);
    if (object->references <= 0)
        throw std::logic_error("filter used after its last release");
    return object;
}

bool Gone(int camera, int generation) {
    const SimCamera& c = Camera(camera);
    return !c.plugged || c.generation != generation;
}

void Notify(int camera, Interface interface, Direction direction, int32_t property) {
    if (State().beforeRequest)
        State().beforeRequest(camera, interface, direction, property);
}

// Applies a configured rejection; returns 0 when the request goes through.
HResult Rejected(int camera, Interface interface, Direction direction, int32_t property) {
    auto& rejections = Camera(camera).rejections;
    auto it = rejections.find({interface, direction, property});
    if (it == rejections.end() || it->second.times == 0)
        return 0;
    if (it->second.times > 0)
        it->second.times--;
    return it->second.result;
}

HResult Logged(int camera, Interface interface, Direction direction, int32_t property,
               std::vector<int32_t> data, HResult result) {
    State().requests.push_back({camera, interface, direction, property, std::move(data), result});
    return result;
}

std::map<int32_t, SimProperty>& PropertiesOf(int camera, Interface interface) {
    return interface == Interface::ProcAmp ? Camera(camera).procAmp : Camera(camera).cameraControl;
}

HResult Range(const InterfaceObject* object, Interface interface, int32_t property,
              platform::PropertyRange* range) {
    const int camera = object->camera;
    Notify(camera, interface, Direction::Range, property);
    HResult result = Gone(camera, object->generation)
                         ? kDeviceNotConnected
                         : Rejected(camera, interface, Direction::Range, property);
    auto& properties = PropertiesOf(camera, interface);
    auto it = properties.find(property);
    if (!result && it == properties.end())
        result = static_cast<HResult>(0x80070490u); // E_PROP_ID_UNSUPPORTED
    if (!result)
        *range = it->second.range;
    return Logged(camera, interface, Direction::Range, property, {}, result);
}

HResult Get(const InterfaceObject* object, Interface interface, int32_t property, int32_t* value,
            int32_t* flags) {
    const int camera = object->camera;
    Notify(camera, interface, Direction::Get, property);
    HResult result = Gone(camera, object->generation)
                         ? kDeviceNotConnected
                         : Rejected(camera, interface, Direction::Get, property);
    auto& properties = PropertiesOf(camera, interface);
    auto it = properties.find(property);
    if (!result && it == properties.end())
        result = static_cast<HResult>(0x80070490u);
    if (!result) {
        *value = it->second.value;
        *flags = it->second.flags;
    }
    return Logged(camera, interface, Direction::Get, property, {}, result);
}

HResult Set(const InterfaceObject* object, Interface interface, int32_t property, int32_t value,
            int32_t flags) {
    const int camera = object->camera;
    Notify(camera, interface, Direction::Set, property);
    HResult result = Gone(camera, object->generation)
                         ? kDeviceNotConnected
                         : Rejected(camera, interface, Direction::Set, property);
    auto& properties = PropertiesOf(camera, interface);
    auto it = properties.find(property);
    if (!result && it == properties.end())
        result = static_cast<HResult>(0x80070490u);
    if (!result) {
        it->second.value = value;
        it->second.flags = flags;
    }
    return Logged(camera, interface, Direction::Set, property, {value, flags}, result);
}

SimProperty Property(int32_t minimum, int32_t maximum, int32_t defaultValue, int32_t capabilities,
                     int32_t flags = 2) {
    return {{minimum, maximum, 1, defaultValue, capabilities}, defaultValue, flags};
}

} // namespace

SimCamera VendorCamera(const std::u16string& name) {
    SimCamera c;
    c.friendlyName = name;
    c.procAmp[0] = Property(0, 255, 128, 3);          // brightness
    c.procAmp[1] = Property(0, 255, 32, 2);           // contrast
    c.procAmp[3] = Property(0, 255, 64, 2);           // saturation
    c.procAmp[4] = Property(0, 255, 24, 2);           // sharpness
    c.procAmp[7] = Property(2800, 6500, 4000, 3, 1);  // white balance, automatic
    c.procAmp[8] = Property(0, 1, 0, 2);              // backlight compensation
    c.procAmp[9] = Property(0, 255, 0, 2);            // gain
    c.procAmp[13] = Property(0, 2, 1, 2);             // power-line frequency
    c.cameraControl[4] = Property(-13, -1, -6, 3, 1); // exposure
    c.cameraControl[6] = Property(0, 255, 128, 3, 1); // focus
    c.cameraControl[19] = Property(0, 1, 1, 3, 1);    // auto-exposure priority
    c.vendor[3] = {0, 0, 0, 100};                     // zoom
    c.vendor[5] = {1, 0, 0, 333};                     // exposure: mode, -, -, time
    c.vendor[7] = {0, 0, 0, 3, 0};                    // LED: automatic
    const platform::Guid rgb24 = {
        0xE436EB7D, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    c.capabilities = {MjpgCapability(1920, 1080, 30, 30),
                      {rgb24, 1920, 1080},
                      {rgb24, 1280, 720},
                      {rgb24, 640, 480}};
    c.current = {rgb24, 640, 480};
    return c;
}

SimCamera UvcCamera(const std::u16string& name) {
    SimCamera c = VendorCamera(name);
    c.capabilities = {Yuy2Capability(640, 480, 30, 5), Yuy2Capability(1920, 1080, 5, 5),
                      MjpgCapability(1920, 1080, 30, 5)};
    c.current = c.capabilities[0];
    return c;
}

namespace {

SimCapability Encoded(const platform::Guid& subtype, uint32_t fourCc, uint16_t bits, int32_t width,
                      int32_t height, int fastestFps, int slowestFps) {
    SimCapability c{subtype, width, height};
    c.compression = fourCc;
    c.bitCount = bits;
    c.minFrameInterval = 10000000 / fastestFps;
    c.maxFrameInterval = 10000000 / slowestFps;
    return c;
}

} // namespace

SimCapability Yuy2Capability(int32_t width, int32_t height, int fastestFps, int slowestFps) {
    return Encoded(kSubtypeYuy2, kFourCcYuy2, 16, width, height, fastestFps, slowestFps);
}

SimCapability MjpgCapability(int32_t width, int32_t height, int fastestFps, int slowestFps) {
    return Encoded(kSubtypeMjpg, kFourCcMjpg, 24, width, height, fastestFps, slowestFps);
}

int AddCamera(const SimCamera& camera) {
    State().cameras.push_back(camera);
    SimCamera& added = State().cameras.back();
    if (added.hasDevicePath && added.devicePath.empty()) {
        const std::string index = std::to_string(State().cameras.size() - 1);
        added.devicePath = u"\\\\?\\usb#vid_1d6b&pid_0102&mi_00#sim";
        added.devicePath.append(index.begin(), index.end());
        added.devicePath += u"#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
    }
    return static_cast<int>(State().cameras.size()) - 1;
}

SimCamera& Camera(int index) {
    return State().cameras.at(static_cast<size_t>(index));
}
int CameraCount() {
    return static_cast<int>(State().cameras.size());
}

void Reject(int camera, Interface interface, Direction direction, int32_t property, HResult result,
            int times) {
    Camera(camera).rejections[{interface, direction, property}] = {result, times};
}

std::vector<Request>& Requests() {
    return State().requests;
}

std::vector<Request> RequestsOf(Interface interface, int32_t property) {
    std::vector<Request> result;
    for (const Request& r : State().requests)
        if (r.interface == interface && (property < 0 || r.property == property))
            result.push_back(r);
    return result;
}

void Unplug(int camera, bool midFrame) {
    SimCamera& c = Camera(camera);
    if (!c.plugged)
        return;
    c.plugged = false;
    c.generation++;
    CameraUnplugged(camera, midFrame);
}

void Plug(int camera) {
    SimCamera& c = Camera(camera);
    if (c.plugged)
        return;
    c.plugged = true;
    c.generation++;
}

std::function<void(int, Interface, Direction, int32_t)>& BeforeRequest() {
    return State().beforeRequest;
}

int FilterReferences() {
    int references = 0;
    for (const auto& f : State().filters)
        references += f->references;
    return references;
}

int DeviceObjectsAlive() {
    return State().deviceObjectsAlive;
}

bool FilterDeviceGone(platform::Filter filter) {
    const FilterObject* object = Object(filter);
    return object->camera >= 0 && Gone(object->camera, object->generation);
}

int FilterGeneration(platform::Filter filter) {
    return Object(filter)->generation;
}

bool CameraGone(int camera, int generation) {
    return Gone(camera, generation);
}

int FiltersAlive() {
    int alive = 0;
    for (const auto& f : State().filters)
        alive += f->references > 0 ? 1 : 0;
    return alive;
}

int InterfacesAlive() {
    return interfacesAlive;
}

platform::Filter NewFilter(int kind) {
    State().filters.push_back(std::make_unique<FilterObject>(FilterObject{kind, 1, 0}));
    return reinterpret_cast<platform::Filter>(State().filters.back().get());
}

int CameraOfFilter(platform::Filter filter) {
    return filter ? Object(filter)->camera : -1;
}

void FailDeviceEnumerator(HResult result) {
    State().enumeratorResult = result;
}

void ResetDevices() {
    State() = DeviceState();
    interfacesAlive = 0;
}

} // namespace sim

namespace platform {

using sim::Interface;
using sim::State;

void InitializeComOnThread() {}

HResult OpenDeviceList(DeviceCategory category, DeviceList* list) {
    *list = nullptr;
    if (State().enumeratorResult < 0)
        return State().enumeratorResult;
    auto object = std::make_unique<sim::DeviceListObject>();
    for (int i = 0; i < sim::CameraCount(); ++i) {
        const sim::SimCamera& c = sim::Camera(i);
        if (category == DeviceCategory::VideoInput ? c.inVideoInput : c.inCapture)
            object->cameras.push_back(i);
    }
    if (object->cameras.empty())
        return kFalse;
    *list = reinterpret_cast<DeviceList>(object.release());
    State().deviceObjectsAlive++;
    return kOk;
}

Device NextDevice(DeviceList list) {
    auto* object = reinterpret_cast<sim::DeviceListObject*>(list);
    if (object->next >= object->cameras.size())
        return nullptr;
    const int camera = object->cameras[object->next++];
    State().deviceObjectsAlive++;
    return reinterpret_cast<Device>(new sim::DeviceObject{camera, sim::Camera(camera).generation});
}

namespace {

// BindToStorage of the device's property bag: the camera behind it, or why there is none (the
// device's registry key went with it, or the bag could not be opened).
HResult OpenPropertyBag(Device device, const sim::SimCamera** camera) {
    const auto* object = reinterpret_cast<sim::DeviceObject*>(device);
    if (sim::Gone(object->camera, object->generation))
        return sim::kDeviceNotConnected;
    *camera = &sim::Camera(object->camera);
    return (*camera)->bagResult < 0 ? (*camera)->bagResult : kOk;
}

} // namespace

HResult ReadFriendlyName(Device device, std::u16string* name) {
    const sim::SimCamera* camera = nullptr;
    const HResult opened = OpenPropertyBag(device, &camera);
    if (opened != kOk)
        return opened;
    const sim::SimCamera& c = *camera;
    if (c.nameResult < 0)
        return c.nameResult;
    if (c.nameType != 8)
        return kFail; // what the bindings make of a value that is no string
    *name = c.friendlyName;
    return kOk;
}

HResult ReadDevicePath(Device device, std::u16string* path) {
    const sim::SimCamera* camera = nullptr;
    const HResult opened = OpenPropertyBag(device, &camera);
    if (opened != kOk)
        return opened;
    const sim::SimCamera& c = *camera;
    if (!c.hasDevicePath)
        return static_cast<HResult>(0x80070002u); // ERROR_FILE_NOT_FOUND: no such value
    *path = c.devicePath;
    return kOk;
}

Filter BindFilter(Device device) {
    const auto* object = reinterpret_cast<sim::DeviceObject*>(device);
    const int camera = object->camera;
    if (sim::Camera(camera).bindFails || sim::Gone(camera, object->generation))
        return nullptr;
    State().filters.push_back(std::make_unique<sim::FilterObject>(
        sim::FilterObject{camera, 1, sim::Camera(camera).generation}));
    return reinterpret_cast<Filter>(State().filters.back().get());
}

HResult QueryVideoProcAmp(Filter filter, VideoProcAmp* out) {
    const sim::FilterObject* object = sim::Object(filter);
    if (sim::Camera(object->camera).withholdProcAmp)
        return sim::kNoInterface;
    *out = sim::NewInterface<VideoProcAmp>(object->camera, object->generation);
    return kOk;
}

HResult QueryCameraControl(Filter filter, CameraControl* out) {
    const sim::FilterObject* object = sim::Object(filter);
    if (sim::Camera(object->camera).withholdCameraControl)
        return sim::kNoInterface;
    *out = sim::NewInterface<CameraControl>(object->camera, object->generation);
    return kOk;
}

HResult QueryPropertySet(Filter filter, PropertySet* out) {
    const sim::FilterObject* object = sim::Object(filter);
    if (sim::Camera(object->camera).withholdPropertySet)
        return sim::kNoInterface;
    *out = sim::NewInterface<PropertySet>(object->camera, object->generation);
    return kOk;
}

HResult ProcAmpRange(VideoProcAmp amp, int32_t property, PropertyRange* range) {
    return sim::Range(sim::Object(amp), Interface::ProcAmp, property, range);
}
HResult ProcAmpGet(VideoProcAmp amp, int32_t property, int32_t* value, int32_t* flags) {
    return sim::Get(sim::Object(amp), Interface::ProcAmp, property, value, flags);
}
HResult ProcAmpSet(VideoProcAmp amp, int32_t property, int32_t value, int32_t flags) {
    return sim::Set(sim::Object(amp), Interface::ProcAmp, property, value, flags);
}
HResult ControlRange(CameraControl control, int32_t property, PropertyRange* range) {
    return sim::Range(sim::Object(control), Interface::CameraControl, property, range);
}
HResult ControlGet(CameraControl control, int32_t property, int32_t* value, int32_t* flags) {
    return sim::Get(sim::Object(control), Interface::CameraControl, property, value, flags);
}
HResult ControlSet(CameraControl control, int32_t property, int32_t value, int32_t flags) {
    return sim::Set(sim::Object(control), Interface::CameraControl, property, value, flags);
}

HResult PropertySetSet(PropertySet set, const Guid&, uint32_t id, const void* data, uint32_t size) {
    const int camera = sim::Object(set)->camera;
    sim::Notify(camera, Interface::Vendor, sim::Direction::Set, static_cast<int32_t>(id));
    std::vector<int32_t> words(size / 4);
    std::copy_n(static_cast<const uint8_t*>(data), words.size() * 4,
                reinterpret_cast<uint8_t*>(words.data()));
    HResult result = sim::Gone(camera, sim::Object(set)->generation)
                         ? sim::kDeviceNotConnected
                         : sim::Rejected(camera, Interface::Vendor, sim::Direction::Set, id);
    auto& stored = sim::Camera(camera).vendor;
    if (!result && stored.count(id) && stored[id].size() != words.size())
        result = static_cast<HResult>(0x8007007Au); // ERROR_INSUFFICIENT_BUFFER
    if (!result)
        stored[id] = words;
    return sim::Logged(camera, Interface::Vendor, sim::Direction::Set, static_cast<int32_t>(id),
                       words, result);
}

HResult PropertySetGet(PropertySet set, const Guid&, uint32_t id, void* data, uint32_t size,
                       uint32_t* returned) {
    const int camera = sim::Object(set)->camera;
    sim::Notify(camera, Interface::Vendor, sim::Direction::Get, static_cast<int32_t>(id));
    HResult result = sim::Gone(camera, sim::Object(set)->generation)
                         ? sim::kDeviceNotConnected
                         : sim::Rejected(camera, Interface::Vendor, sim::Direction::Get, id);
    auto& stored = sim::Camera(camera).vendor;
    if (!result && (!stored.count(id) || stored[id].size() * 4 > size))
        result = static_cast<HResult>(0x8007007Au);
    std::vector<int32_t> words;
    if (!result) {
        words = stored[id];
        std::copy_n(reinterpret_cast<const uint8_t*>(words.data()), words.size() * 4,
                    static_cast<uint8_t*>(data));
        if (returned)
            *returned = static_cast<uint32_t>(words.size() * 4);
    }
    return sim::Logged(camera, Interface::Vendor, sim::Direction::Get, static_cast<int32_t>(id),
                       words, result);
}

void AddRef(Filter filter) {
    sim::Object(filter)->references++;
}
void Release(Filter filter) {
    auto* object = reinterpret_cast<sim::FilterObject*>(filter);
    if (object->references <= 0)
        throw std::logic_error("filter released more often than referenced");
    object->references--;
}
void Release(DeviceList list) {
    State().deviceObjectsAlive--;
    delete reinterpret_cast<sim::DeviceListObject*>(list);
}
void Release(Device device) {
    State().deviceObjectsAlive--;
    delete reinterpret_cast<sim::DeviceObject*>(device);
}
void Release(VideoProcAmp amp) {
    sim::DeleteInterface(sim::Object(amp));
}
void Release(CameraControl control) {
    sim::DeleteInterface(sim::Object(control));
}
void Release(PropertySet set) {
    sim::DeleteInterface(sim::Object(set));
}

} // namespace platform
