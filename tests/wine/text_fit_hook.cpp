// TextFitHookProc of tool_hooks.dll, the hook that driver.exe's text-fit installs on the tool's
// thread. A font handle means nothing in another process, so the text of each control is measured
// here, inside the tool, with the font the control draws with. On the probe message the hook writes
// into the driver's shared memory:
//   dpi <TAB> LOGPIXELSY of the screen <TAB> dpiAware <TAB> the manifest's dpiAware setting as
//       the loader sees it ("-" without one)
// and for every child with a text, in sibling order:
//   id <TAB> class <TAB> lfHeight <TAB> face drawn <TAB> need width <TAB> need height
//       <TAB> room width <TAB> room height
// The need is what the control asks for its text: radio buttons, check boxes and push buttons
// give their width with BCM_GETIDEALSIZE themselves (the box and its gap included), with the
// height of one line of text; a multi-line push button gives width and height wrapped at its own
// width. A label, a group box's caption and the status bar's text take the text's extent (one
// line, or wrapped at the width for a label without SS_CENTERIMAGE). The room is the control's
// client rectangle.
#include "tool_hooks.h"

#include <commctrl.h>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

// Appends one formatted line (at most 1 KiB) to the report.
void Add(std::string& report, const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    report += line;
}

std::string ClassName(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The face of the font drawn with, from the font file's own names: under Wine a replaced face keeps
// the name asked for in GetTextFace and in the outline metrics' family name.
std::string FaceDrawn(HDC dc) {
    const UINT size = GetOutlineTextMetricsA(dc, 0, nullptr);
    if (size == 0)
        return "-";
    std::string buffer(size, '\0');
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICA*>(&buffer[0]);
    if (!GetOutlineTextMetricsA(dc, size, metrics))
        return "-";
    return std::string(&buffer[reinterpret_cast<size_t>(metrics->otmpFaceName)]);
}

SIZE TextExtent(HDC dc, const std::string& text, LONG wrapWidth) {
    RECT rect = {0, 0, wrapWidth, 0};
    const UINT flags = DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextA(dc, text.c_str(), -1, &rect, flags);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

SIZE Need(HWND control, HDC dc, const std::string& className, const std::string& text,
          const RECT& client) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (className == "Button") {
        if ((style & BS_TYPEMASK) == BS_GROUPBOX)
            return TextExtent(dc, text, 0);
        SIZE ideal = {};
        // A multi-line button wraps at the width it is given and needs the height of its lines.
        if (style & BS_MULTILINE) {
            ideal.cx = client.right;
            SendMessageA(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
            return ideal;
        }
        // One line: the width with the box and its gap, the height of the text alone (the ideal
        // height adds a margin above and below that the control does not need to show the text).
        SendMessageA(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
        return SIZE{ideal.cx, TextExtent(dc, text, 0).cy};
    }
    if (className == "Static" && !(style & SS_CENTERIMAGE))
        return TextExtent(dc, text, client.right);
    return TextExtent(dc, text, 0);
}

void MeasureChild(HWND child, std::string& report) {
    char text[512] = {};
    if (GetWindowTextA(child, text, sizeof text) <= 0)
        return;
    const std::string className = ClassName(child);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
    LOGFONTA logFont = {};
    if (!font || !GetObjectA(font, sizeof logFont, &logFont))
        logFont.lfHeight = 0;
    RECT client = {};
    GetClientRect(child, &client);
    HDC dc = GetDC(child);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    const std::string face = FaceDrawn(dc);
    const SIZE need = Need(child, dc, className, text, client);
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(child, dc);
    Add(report, "%d\t%s\t%ld\t%s\t%ld\t%ld\t%ld\t%ld\n", GetDlgCtrlID(child), className.c_str(),
        logFont.lfHeight, face.c_str(), need.cx, need.cy, client.right, client.bottom);
}

// The process manifest's dpiAware setting as the loader reads it from the activation context, or
// "-" when the manifest has none.
std::string ManifestDpiAware() {
    wchar_t value[64] = {};
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                              L"dpiAware", value, sizeof value / sizeof value[0], &written))
        return "-";
    std::string ascii;
    for (const wchar_t* c = value; *c; ++c)
        ascii += *c < 128 ? static_cast<char>(*c) : '?';
    return ascii;
}

void WriteReport(HWND mainWindow, DWORD driver) {
    char name[64];
    std::snprintf(name, sizeof name, kTextFitMappingFormat, static_cast<unsigned long>(driver));
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    if (!mapping)
        return;
    if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kTextFitReportBytes)) {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        std::string report;
        Add(report, "dpi\t%d\tdpiAware\t%s\n", dpi, ManifestDpiAware().c_str());
        for (HWND child = GetWindow(mainWindow, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            MeasureChild(child, report);
        std::snprintf(static_cast<char*>(view), kTextFitReportBytes, "%s", report.c_str());
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
}

void WriteReportOnProbe(const CWPSTRUCT& sent) {
    static const UINT probe = RegisterWindowMessageA(kTextFitMessage);
    if (sent.message == probe)
        WriteReport(sent.hwnd, static_cast<DWORD>(sent.lParam));
}

} // namespace

TOOL_HOOK(TextFitHookProc, WriteReportOnProbe)
