// Windows and controls of the simulated desktop, with the Win32 semantics the tool relies on:
// radio groups by creation order and WS_GROUP, trackbars that confine their position, check marks
// and the WS_TABSTOP that an auto radio button gains and loses with its check.
#include "platform/sim/sim_desktop.h"

#include "platform/constants.h"
#include "platform/window_system.h"

#include <algorithm>

namespace sim {

using namespace platform;

WindowRecord* Record(Window window) {
    return reinterpret_cast<WindowRecord*>(window);
}
Window HandleOf(WindowRecord* record) {
    return reinterpret_cast<Window>(record);
}

WindowRecord* MainWindow() {
    for (auto& w : TheDesktop().windows)
        if (!w->parent && !w->destroyed && w->className != "#32770")
            return w.get();
    return nullptr;
}

WindowRecord* Control(int id) {
    WindowRecord* main = MainWindow();
    return main ? Record(FindControl(HandleOf(main), id)) : nullptr;
}

namespace {

bool IsButtonOfType(const WindowRecord* w, uint32_t type) {
    return w->className == "Button" && (w->style & style::ButtonTypeMask) == type;
}

void SetCheckOn(WindowRecord* w, int state) {
    w->check = state;
    // An auto radio button is a tab stop exactly while it is checked.
    if (IsButtonOfType(w, style::AutoRadioButton)) {
        if (state)
            w->style |= style::TabStop;
        else
            w->style &= ~style::TabStop;
    }
}

// The siblings of a radio button's group: from the nearest control with WS_GROUP at or before it
// up to the next control with WS_GROUP.
std::vector<WindowRecord*> GroupOf(WindowRecord* button) {
    const auto& siblings = button->parent->children;
    auto self = std::find(siblings.begin(), siblings.end(), button);
    auto first = self;
    while (first != siblings.begin() && !((*first)->style & style::Group))
        --first;
    std::vector<WindowRecord*> group;
    for (auto it = first; it != siblings.end(); ++it) {
        if (it != first && ((*it)->style & style::Group))
            break;
        group.push_back(*it);
    }
    return group;
}

void Clamp(WindowRecord* w) {
    w->trackbarPos = std::clamp(w->trackbarPos, w->trackbarMin, w->trackbarMax);
}

void Log(const std::string& call) {
    TheDesktop().calls.push_back(call);
}

} // namespace

void Click(int id) {
    WindowRecord* w = Control(id);
    if (!w || !w->enabled || w->destroyed)
        return;
    if (IsButtonOfType(w, style::AutoRadioButton)) {
        for (WindowRecord* other : GroupOf(w))
            if (other != w && IsButtonOfType(other, style::AutoRadioButton))
                SetCheckOn(other, 0);
        SetCheckOn(w, 1);
    } else if (IsButtonOfType(w, style::AutoCheckBox)) {
        SetCheckOn(w, w->check ? 0 : 1);
    }
    SendToMain(msg::Command, static_cast<uintptr_t>(id & 0xFFFF), reinterpret_cast<intptr_t>(w));
}

void MoveSlider(int id, int position) {
    WindowRecord* w = Control(id);
    if (!w || !w->enabled)
        return;
    w->trackbarPos = position;
    Clamp(w);
    SendToMain(msg::HScroll, 5 /* TB_THUMBTRACK */, reinterpret_cast<intptr_t>(w));
}

intptr_t SendToMain(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    WindowRecord* main = MainWindow();
    if (!main || !main->procedure)
        return 0;
    return CallProcedure(main, message, wParam, lParam);
}

std::vector<std::string> TextsOf(int id) {
    std::vector<std::string> result;
    for (const TextSet& t : TheDesktop().texts)
        if (t.id == id)
            result.push_back(t.text);
    return result;
}

} // namespace sim

namespace platform {

using sim::HandleOf;
using sim::Record;
using sim::TheDesktop;
using sim::WindowRecord;

void InitializeCommonControls() {
    sim::Log("InitializeCommonControls");
}

bool RegisterWindowClass(Instance, const char* className, WindowProcedure procedure,
                         uint32_t classStyle, int iconResource) {
    TheDesktop().classes.push_back({className, procedure, classStyle, iconResource});
    sim::Log(std::string("RegisterWindowClass ") + className);
    return true;
}

int ScreenDpi() {
    return TheDesktop().dpi;
}

Font CreateControlFont(const char* face, int height, int weight) {
    TheDesktop().fontsAlive++;
    sim::Log("CreateControlFont " + std::string(face) + " " + std::to_string(height) + " " +
             std::to_string(weight));
    static int fonts = 0;
    return reinterpret_cast<Font>(static_cast<uintptr_t>(0xF000 + ++fonts));
}

void DeleteControlFont(Font) {
    TheDesktop().fontsAlive--;
    sim::Log("DeleteControlFont");
}

Window CreateWindowWith(uint32_t exStyle, const char* className, const char* text, uint32_t style,
                        int x, int y, int width, int height, Window parent, int id, Instance) {
    auto record = std::make_unique<WindowRecord>();
    WindowRecord* w = record.get();
    w->className = className;
    w->text = text ? text : "";
    w->style = style;
    w->exStyle = exStyle;
    w->x = x;
    w->y = y;
    w->width = width;
    w->height = height;
    w->parent = Record(parent);
    w->id = parent ? id : 0;
    w->visible = (style & style::Visible) != 0;
    for (const auto& c : TheDesktop().classes)
        if (c.name == w->className)
            w->procedure = c.procedure;
    TheDesktop().windows.push_back(std::move(record));
    if (w->parent)
        w->parent->children.push_back(w);
    if (w->procedure)
        w->procedure(HandleOf(w), msg::Create, 0, 0);
    return HandleOf(w);
}

void SetClassIcons(Window, Instance, int iconResource) {
    sim::Log("SetClassIcons " + std::to_string(iconResource));
}

Icon LoadAppIcon(Instance, int iconResource) {
    if (!TheDesktop().iconLoads)
        return nullptr;
    return reinterpret_cast<Icon>(static_cast<uintptr_t>(0x1C00 + iconResource));
}

void SetSmallIcon(Window window, Icon icon) {
    Record(window)->smallIcon = icon;
}

void SetControlFont(Window control, Font font) {
    if (control)
        Record(control)->font = font;
}

void ShowWindowAs(Window window, int command) {
    WindowRecord* w = Record(window);
    if (!w)
        return;
    if (!w->parent)
        sim::Log("ShowWindow " + std::to_string(command));
    switch (command) {
    case sw::Hide:
        w->visible = false;
        break;
    case sw::Minimize:
        w->visible = true;
        w->minimized = true;
        break;
    default: // SW_SHOWNORMAL and SW_RESTORE
        w->visible = true;
        w->minimized = false;
        break;
    }
}

void RepaintNow(Window window) {
    if (!Record(window)->parent)
        sim::Log("UpdateWindow");
}

void EnableControl(Window window, bool enable) {
    if (window)
        Record(window)->enabled = enable;
}

void DestroyWindowNow(Window window) {
    WindowRecord* w = Record(window);
    if (!w || w->destroyed)
        return;
    sim::Log("DestroyWindow");
    if (w->procedure)
        w->procedure(window, msg::Destroy, 0, 0);
    w->destroyed = true;
    w->visible = false;
    for (WindowRecord* child : w->children)
        child->destroyed = true;
}

intptr_t DefaultProcedure(Window window, uint32_t message, uintptr_t, intptr_t) {
    // The default handling of a close request destroys the window.
    if (message == msg::Close)
        DestroyWindowNow(window);
    return 0;
}

void PostQuit(int exitCode) {
    TheDesktop().quitPosted = true;
    TheDesktop().quitCode = exitCode;
}

Window FindControl(Window parent, int id) {
    WindowRecord* p = Record(parent);
    if (!p)
        return nullptr;
    for (WindowRecord* child : p->children)
        if (child->id == id && !child->destroyed)
            return HandleOf(child);
    return nullptr;
}

Rect ClientRect(Window window) {
    WindowRecord* w = Record(window);
    if (!w)
        return {};
    if (!w->parent) // Wine's default look: 8 pixels of frame across, 27 of caption and frame down
        return {0, 0, w->width - 8, w->height - 27};
    return {0, 0, w->width, w->height};
}

void SetText(Window window, const char* text) {
    WindowRecord* w = Record(window);
    if (!w)
        return;
    w->text = text;
    TheDesktop().texts.push_back({w->id, w->text, TheDesktop().now});
}

std::string GetText(Window window) {
    return window ? Record(window)->text : std::string();
}

void SetCheck(Window control, int state) {
    if (control)
        sim::SetCheckOn(Record(control), state);
}

int IsChecked(Window parent, int id) {
    Window control = FindControl(parent, id);
    return control && Record(control)->check == 1 ? 1 : 0;
}

void SetTrackbarRange(Window trackbar, uint32_t packedRange) {
    WindowRecord* w = Record(trackbar);
    if (!w)
        return;
    w->trackbarMin = static_cast<int>(packedRange & 0xFFFF);
    w->trackbarMax = static_cast<int>(packedRange >> 16);
    sim::Clamp(w);
}

void SetTrackbarPosition(Window trackbar, int position) {
    WindowRecord* w = Record(trackbar);
    if (!w)
        return;
    w->trackbarPos = position;
    sim::Clamp(w);
}

int TrackbarPosition(Window trackbar) {
    return trackbar ? Record(trackbar)->trackbarPos : 0;
}

int ShowMessageBox(Window owner, const char* text, const char* caption, uint32_t flags) {
    sim::Desktop& d = TheDesktop();
    int answer = (flags & 0xF) == mb::YesNo ? mb::AnswerNo : mb::AnswerOk;
    if (!d.boxAnswers.empty()) {
        answer = d.boxAnswers.front();
        d.boxAnswers.pop_front();
    }
    d.boxes.push_back({owner, text, caption, flags, d.now, answer});
    // A box runs a modal message loop: the thread pumps while it is up.
    d.modalDepth++;
    sim::PumpHookCalls();
    if (d.onBox)
        d.onBox(d.boxes.back());
    d.modalDepth--;
    return answer;
}

bool RegisterUsbDeviceNotices(Window) {
    sim::Log("RegisterUsbDeviceNotices");
    return !TheDesktop().failDeviceRegistration;
}

} // namespace platform
