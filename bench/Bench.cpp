// The launcher's numbers, each beside a baseline measured in the same run:
// size on disc, start-up to the first dialog, paint cost, memory and GDI /
// USER objects over 10,000 repaints and unplug-to-exit latency. Writes a
// table to stdout and JSON to the given file; bench/run.sh adds the CPU
// used while waiting, which Wine only shows from the Linux side.
//   bench.exe DISC_FOLDER BASELINE_EXE RESULTS_JSON
//   bench.exe --paint          the paint rows alone
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "DebugTrace.h"
#include "DialogControl.h"
#include "framework/ScopedHandles.h"
#include "res/resource.h"
#include "skin/MessageDialogs.h"
#include "skin/SkinHelpers.h"

namespace {

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(p * (values.size() - 1) + 0.5));
    return values[index];
}

HWND WaitForVisibleWindow(DWORD pid, HANDLE process, DWORD timeoutMs)
{
    const double end = NowMs() + timeoutMs;
    while (NowMs() < end && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        if (HWND found = FindVisibleWindow(pid)) return found;
        Sleep(2);
    }
    return nullptr;
}

PROCESS_INFORMATION Start(const std::wstring& exe, const std::wstring& folder)
{
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &process);
    return process;
}

void End(PROCESS_INFORMATION& process)
{
    if (process.hProcess == nullptr) return;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = {};
}

LONGLONG FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Bytes of all resources of a module.
struct ResourceSum {
    HMODULE module;
    LONGLONG bytes;
};
BOOL CALLBACK AddLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR param)
{
    HRSRC resource = FindResourceExW(module, type, name, language);
    reinterpret_cast<ResourceSum*>(param)->bytes += SizeofResource(module, resource);
    return TRUE;
}
BOOL CALLBACK AddName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    EnumResourceLanguagesW(module, type, name, AddLanguage, param);
    return TRUE;
}
BOOL CALLBACK AddType(HMODULE module, LPWSTR type, LONG_PTR param)
{
    EnumResourceNamesW(module, type, AddName, param);
    return TRUE;
}
LONGLONG ResourceBytes(const std::wstring& path)
{
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return 0;
    ResourceSum sum{module, 0};
    EnumResourceTypesW(module, AddType, reinterpret_cast<LONG_PTR>(&sum));
    FreeLibrary(module);
    return sum.bytes;
}

// Windows and Wine cap the GDI and USER objects a process may hold. How
// many more can still be made counts the live ones from the other end:
// a leak shows as a smaller number after the repaints.
double FreeGdiCapacity()
{
    std::vector<HRGN> made;
    for (int i = 0; i < 70000; ++i) {
        HRGN region = CreateRectRgn(0, 0, 1, 1);
        if (region == nullptr) break;
        made.push_back(region);
    }
    for (HRGN region : made) DeleteObject(region);
    return static_cast<double>(made.size());
}

double FreeUserCapacity()
{
    std::vector<HMENU> made;
    for (int i = 0; i < 70000; ++i) {
        HMENU menu = CreateMenu();
        if (menu == nullptr) break;
        made.push_back(menu);
    }
    for (HMENU menu : made) DestroyMenu(menu);
    return static_cast<double>(made.size());
}

// A PE file's bytes on disc by what they hold, from its section table.
struct FileShares {
    double code = 0, data = 0, unwinding = 0, resources = 0, rest = 0;
    bool runFromSwap = false;  // both of Windows' copy-at-load flags
};
FileShares SharesOf(const std::wstring& path)
{
    FileShares shares;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return shares;
    std::vector<BYTE> bytes(static_cast<size_t>(GetFileSize(file, nullptr)));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    if (read < sizeof(IMAGE_DOS_HEADER)) return shares;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    if (static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > read) return shares;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew);
    const WORD swap = IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP | IMAGE_FILE_NET_RUN_FROM_SWAP;
    shares.runFromSwap = (nt->FileHeader.Characteristics & swap) == swap;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    double inSections = 0;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        const std::string name(reinterpret_cast<const char*>(section->Name),
                               strnlen(reinterpret_cast<const char*>(section->Name), IMAGE_SIZEOF_SHORT_NAME));
        const double size = section->SizeOfRawData / 1024.0;
        inSections += size;
        if (name == ".text") shares.code += size;
        else if (name == ".rsrc")
            shares.resources += size;
        else if (name.rfind(".eh_fram", 0) == 0 || name == ".pdata" || name == ".xdata")
            shares.unwinding += size;
        else if (name == ".reloc")
            shares.rest += size;
        else
            shares.data += size;  // constants, variables, import and export tables
    }
    shares.rest += bytes.size() / 1024.0 - inSections;  // headers, alignment
    return shares;
}

struct Row {
    std::string name;
    std::string unit;
    double launcher;
    double baseline;  // < 0: none
};

// One measure of the launcher's own dialog taken twice: with the dialog
// just open, and after 10,000 repaints.
struct GrowthRow {
    std::string name;
    std::string unit;
    double open;
    double afterRepaints;
};

// The benchmark's inputs: the disc folder's files and the baseline program.
struct Subjects {
    std::wstring disc;
    std::wstring launcher;
    std::wstring marker;
    std::wstring baseline;
};

// Size on disc, and what the bytes hold.
void MeasureSizes(const Subjects& subjects, std::vector<Row>& rows)
{
    const std::wstring& disc = subjects.disc;
    const std::wstring& launcher = subjects.launcher;
    const std::wstring& baseline = subjects.baseline;
    const std::wstring imageDll = disc + L"\\CVNImage.dll";
    const double exeBytes = static_cast<double>(FileSize(launcher));
    const double dllBytes = static_cast<double>(FileSize(imageDll));
    rows.push_back({"size CVNAI.exe", "KiB", exeBytes / 1024, static_cast<double>(FileSize(baseline)) / 1024});
    rows.push_back({"size CVNImage.dll", "KiB", dllBytes / 1024, -1});
    rows.push_back(
        {"resources in CVNAI.exe", "%", 100.0 * static_cast<double>(ResourceBytes(launcher)) / exeBytes, -1});
    const FileShares exeShares = SharesOf(launcher);
    const FileShares dllShares = SharesOf(imageDll);
    for (const auto& [file, shares] : {std::pair<const char*, FileShares>{"CVNAI.exe", exeShares},
                                       std::pair<const char*, FileShares>{"CVNImage.dll", dllShares}}) {
        const std::string f = file;
        rows.push_back({f + ": code", "KiB", shares.code, -1});
        rows.push_back({f + ": data, imports, exports", "KiB", shares.data, -1});
        rows.push_back({f + ": unwinding tables", "KiB", shares.unwinding, -1});
        rows.push_back({f + ": resources", "KiB", shares.resources, -1});
        rows.push_back({f + ": headers, relocations", "KiB", shares.rest, -1});
    }
    // With both run-from-swap flags Windows reads each file whole at load;
    // without, only the pages touched (at least the headers).
    rows.push_back({exeShares.runFromSwap && dllShares.runFromSwap
                        ? "read from the disc at start (both files whole)"
                        : "read from the disc at start (files not copied whole)",
                    "KiB", (exeBytes + dllBytes) / 1024, static_cast<double>(FileSize(baseline)) / 1024});
}

// Start-up to the first visible dialog, and from unplugging to the exit.
void MeasureStartUpAndUnplug(const Subjects& subjects, std::vector<Row>& rows)
{
    const std::wstring& disc = subjects.disc;
    const std::wstring& launcher = subjects.launcher;
    const std::wstring& marker = subjects.marker;
    const std::wstring& baseline = subjects.baseline;
    // Start-up to the first visible dialog, 20 runs each, launcher minus its
    // specified 500 ms monitor wait.
    std::vector<double> launcherStart, baselineStart, removal;
    for (int i = 0; i < 20; ++i) {
        HANDLE touch = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(touch);
        double t0 = NowMs();
        PROCESS_INFORMATION p = Start(launcher, disc);
        if (WaitForVisibleWindow(p.dwProcessId, p.hProcess, 30000) != nullptr) {
            launcherStart.push_back(NowMs() - t0 - 500);
            // Spread the unplug over the monitor's 800 ms cycle.
            Sleep(200 + static_cast<DWORD>(i * 41 % 800));
            // Unplug: from the marker's removal to the launcher's exit.
            t0 = NowMs();
            DeleteFileW(marker.c_str());
            if (WaitForSingleObject(p.hProcess, 10000) == WAIT_OBJECT_0) {
                removal.push_back(NowMs() - t0);
            }
        }
        End(p);
        t0 = NowMs();
        PROCESS_INFORMATION b = Start(baseline, disc);
        if (WaitForVisibleWindow(b.dwProcessId, b.hProcess, 30000) != nullptr) {
            baselineStart.push_back(NowMs() - t0);
        }
        End(b);
    }
    rows.push_back({"start-up median (less 500 ms wait)", "ms", Percentile(launcherStart, 0.5),
                    Percentile(baselineStart, 0.5)});
    rows.push_back({"start-up p95 (less 500 ms wait)", "ms", Percentile(launcherStart, 0.95),
                    Percentile(baselineStart, 0.95)});
    rows.push_back({"unplug to exit median", "ms", Percentile(removal, 0.5), 800});
    rows.push_back({"unplug to exit p95", "ms", Percentile(removal, 0.95), 800});
}

void MeasureStartUpParts(const Subjects& subjects, std::vector<Row>& rows)
{
    const std::wstring& disc = subjects.disc;
    const std::wstring& launcher = subjects.launcher;
    const std::wstring& marker = subjects.marker;
    // Where the launcher's start-up time goes, from its trace lines and the
    // loader's events under a debugger (which slows each event a little):
    // 20 runs, medians.
    {
        std::vector<double> toOwnCode, dllLoads, monitorWait, language, driver, warmUp, toVisible;
        for (int i = 0; i < 20; ++i) {
            HANDLE touch = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            CloseHandle(touch);
            double lastDll = 0, ownCode = -1, languageStart = -1, languageEnd = -1, warmUpStart = -1, action = -1;
            std::atomic<double> visible{-1};
            std::atomic<DWORD> pid{0};
            std::atomic<bool> watching{true};
            const double t0 = NowMs();
            std::thread watcher([&] {
                while (watching) {
                    if (pid != 0) {
                        if (HWND found = FindVisibleWindow(pid)) {
                            visible = NowMs() - t0;
                            PostMessageW(found, WM_COMMAND, IDCANCEL, 0);  // the question's EXIT
                            return;
                        }
                    }
                    Sleep(1);
                }
            });
            auto has = [](const TraceLine& line, const char* text) {
                return line.text.find(text) != std::string::npos;
            };
            DebuggedProgram::Run(
                QuoteArgument(launcher), disc, 30000, [&](DWORD id) { pid = id; },
                [&](const TraceLine& line) {
                    const double at = NowMs() - t0;
                    if (ownCode < 0) ownCode = at;
                    if (languageStart < 0 && has(line, "g_LocalPCLang")) languageStart = at;
                    if (languageEnd < 0 && has(line, "SetThreadUILanguage")) languageEnd = at;
                    // The warm-up dialogs trace their names.
                    if (warmUpStart < 0 && (has(line, "CAFXOKBIG") || has(line, "CASFXYESNO"))) warmUpStart = at;
                    if (action < 0 && has(line, "Start. Action!.")) action = at;
                },
                [&](DWORD) {
                    if (ownCode < 0) lastDll = NowMs() - t0;
                });
            watching = false;
            watcher.join();
            if (ownCode < 0 || languageStart < 0 || languageEnd < 0 || warmUpStart < 0 || action < 0 ||
                visible < 0)
                continue;
            dllLoads.push_back(lastDll);
            toOwnCode.push_back(ownCode - lastDll);
            monitorWait.push_back(languageStart - ownCode);
            language.push_back(languageEnd - languageStart);
            driver.push_back(warmUpStart - languageEnd);
            warmUp.push_back(action - warmUpStart);
            toVisible.push_back(visible - action);
        }
        rows.push_back(
            {"start-up under a debugger: process start and DLL loads", "ms", Percentile(dllLoads, 0.5), -1});
        rows.push_back(
            {"start-up under a debugger: runtime set-up to first own code", "ms", Percentile(toOwnCode, 0.5), -1});
        rows.push_back({"start-up under a debugger: monitor start and its wait (specified, 500 ms)", "ms",
                        Percentile(monitorWait, 0.5), -1});
        rows.push_back({"start-up under a debugger: language step", "ms", Percentile(language, 0.5), -1});
        rows.push_back({"start-up under a debugger: common controls, first windows of the process, driver dialog",
                        "ms", Percentile(driver, 0.5), -1});
        rows.push_back(
            {"start-up under a debugger: warm-up dialogs (specified)", "ms", Percentile(warmUp, 0.5), -1});
        rows.push_back(
            {"start-up under a debugger: workflow to the visible question", "ms", Percentile(toVisible, 0.5), -1});
    }
}

void MeasurePaint(std::vector<Row>& rows)
{
    // One full paint of the notice at 100, 150, 200 and 300 %: decoding the
    // PNG anew each time, beside copying an already decoded background.
    {
        CAFXOKBIG notice(nullptr, L"CVN Auto Installer", L"Corvana is installed.\r\nStart Corvana.");
        double paintAt[4] = {};  // medians at 96, 144, 192 and 288 dots
        int at = 0;
        for (int dpi : {96, 144, 192, 288}) {
            SkinScale scale;
            scale.dpi = dpi;
            const SIZE size = scale.Size({401, 156});
            ClientDC screen(nullptr);
            MemoryDC target(screen.Get());
            OwnedBitmap canvas(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
            SelectedObject selected(target.Get(), canvas.Get());
            std::vector<double> paints, copies;
            MemoryDC cached(screen.Get());
            OwnedBitmap decoded(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
            SelectedObject cachedSelection(cached.Get(), decoded.Get());
            for (int i = 0; i < 300; ++i) {
                double t0 = NowMs();
                notice.PaintContent(target.Get(), size.cx, size.cy, scale);
                GdiFlush();
                paints.push_back(NowMs() - t0);
                t0 = NowMs();
                BitBlt(target.Get(), 0, 0, size.cx, size.cy, cached.Get(), 0, 0, SRCCOPY);
                GdiFlush();
                copies.push_back(NowMs() - t0);
            }
            paintAt[at++] = Percentile(paints, 0.5);
            rows.push_back({"one paint of the notice at " + std::to_string(scale.Percent()) + " %, median", "ms",
                            Percentile(paints, 0.5), Percentile(copies, 0.5)});
            std::vector<double> decodes;
            for (int i = 0; i < 100; ++i) {
                const double t0 = NowMs();
                OwnedBitmap background(scale.IsReference() ? LoadPngBitmap(IDB_NOTICE_BACKGROUND)
                                                           : LoadPngBitmap(IDB_NOTICE_BACKGROUND, size));
                decodes.push_back(NowMs() - t0);
            }
            rows.push_back(
                {"of which decoding the background at that size, median", "ms", Percentile(decodes, 0.5), -1});
        }
        // What a larger display costs beside 100 %: goals 1.6 and 2.
        rows.push_back(
            {"paint at 200 % over paint at 100 % (goal at most 1.6)", "ratio", paintAt[2] / paintAt[0], -1});
        rows.push_back(
            {"paint at 300 % over paint at 100 % (goal at most 2)", "ratio", paintAt[3] / paintAt[0], -1});
    }
}

void MeasureObjects(std::vector<GrowthRow>& growth)
{
    // Memory and objects with the notice open, before and after 10,000
    // repaints of the real window.
    {
        CAFXOKBIG notice(nullptr, L"CVN Auto Installer", L"Corvana is installed.\r\nStart Corvana.");
        std::atomic<bool> done{false};
        double gdiBefore = 0, gdiAfter = 0, userBefore = 0, userAfter = 0, privateBefore = 0, privateAfter = 0;
        std::thread driver([&] {
            HWND window = nullptr;
            for (int i = 0; i < 1000 && window == nullptr; ++i) {
                window = FindVisibleWindow(GetCurrentProcessId());
                Sleep(10);
            }
            if (window == nullptr) return;
            auto sample = [](double& gdi, double& user, double& priv) {
                gdi = FreeGdiCapacity();
                user = FreeUserCapacity();
                PROCESS_MEMORY_COUNTERS_EX counters{};
                counters.cb = sizeof(counters);
                GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                     sizeof(counters));
                // Wine fills the working set, not always the private bytes.
                priv = static_cast<double>(counters.PrivateUsage != 0 ? counters.PrivateUsage
                                                                      : counters.WorkingSetSize) /
                       1024;
            };
            // Settle first, the sampling's own object probes included: their
            // first run grows the heap once.
            for (int i = 0; i < 200; ++i) {
                InvalidateRect(window, nullptr, FALSE);
                UpdateWindow(window);
            }
            sample(gdiBefore, userBefore, privateBefore);
            sample(gdiBefore, userBefore, privateBefore);
            for (int i = 0; i < 10000; ++i) {
                InvalidateRect(window, nullptr, FALSE);
                UpdateWindow(window);
            }
            sample(gdiAfter, userAfter, privateAfter);
            PostMessageW(window, WM_COMMAND, IDOK, 0);
        });
        notice.DoModal();
        done = true;
        driver.join();
        growth.push_back({"GDI objects still free", "count", gdiBefore, gdiAfter});
        growth.push_back({"USER objects still free", "count", userBefore, userAfter});
        growth.push_back({"memory (private or working set)", "KiB", privateBefore, privateAfter});
    }
}

void WriteResults(const std::vector<Row>& rows, const std::vector<GrowthRow>& growth, const wchar_t* jsonPath)
{
    std::printf("Numbers from Wine on this machine: relative, not Windows timings. Build measured: %s.\n\n",
                sizeof(void*) == 4 ? "mingw-i686, the shipped 32-bit launcher"
                                   : "mingw-x86_64, the launcher's x64 twin");
    std::printf("| measure | unit | launcher | baseline | ratio |\n|---|---|---|---|---|\n");
    FILE* json = jsonPath != nullptr ? _wfopen(jsonPath, L"w") : nullptr;
    if (json != nullptr) std::fprintf(json, "[\n");
    const char* separator = "";  // between JSON entries
    for (const Row& r : rows) {
        if (r.baseline >= 0) {
            std::printf("| %s | %s | %.1f | %.1f | %.2f |\n", r.name.c_str(), r.unit.c_str(), r.launcher,
                        r.baseline, r.baseline != 0 ? r.launcher / r.baseline : 0.0);
        } else {
            std::printf(r.unit == "ratio" ? "| %s | %s | %.2f | | |\n" : "| %s | %s | %.1f | | |\n",
                        r.name.c_str(), r.unit.c_str(), r.launcher);
        }
        if (json != nullptr) {
            std::fprintf(json, "%s  {\"measure\": \"%s\", \"unit\": \"%s\", \"launcher\": %.3f, \"baseline\": %s}",
                         separator, r.name.c_str(), r.unit.c_str(), r.launcher,
                         r.baseline >= 0 ? std::to_string(r.baseline).c_str() : "null");
            separator = ",\n";
        }
    }
    std::printf("\nThe notice's own objects and memory:\n\n");
    std::printf("| measure | unit | dialog open | after 10,000 repaints | change |\n|---|---|---|---|---|\n");
    for (const GrowthRow& r : growth) {
        std::printf("| %s | %s | %.1f | %.1f | %+.1f |\n", r.name.c_str(), r.unit.c_str(), r.open, r.afterRepaints,
                    r.afterRepaints - r.open);
        if (json != nullptr) {
            std::fprintf(
                json,
                "%s  {\"measure\": \"%s\", \"unit\": \"%s\", \"dialog_open\": %.3f, \"after_repaints\": %.3f}",
                separator, r.name.c_str(), r.unit.c_str(), r.open, r.afterRepaints);
            separator = ",\n";
        }
    }
    if (json != nullptr) {
        std::fprintf(json, "\n]\n");
        fclose(json);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::vector<Row> rows;
    std::vector<GrowthRow> growth;
    // The paint alone, for a quick look after changing it.
    if (argc == 2 && std::wstring(argv[1]) == L"--paint") {
        MeasurePaint(rows);
        WriteResults(rows, growth, nullptr);
        return 0;
    }
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench DISC_FOLDER BASELINE_EXE RESULTS_JSON\n       bench --paint\n");
        return 2;
    }
    const Subjects subjects = {argv[1], std::wstring(argv[1]) + L"\\CVNAI.exe",
                               std::wstring(argv[1]) + L"\\Auto installer.qzt", argv[2]};
    MeasureSizes(subjects, rows);
    MeasureStartUpAndUnplug(subjects, rows);
    MeasureStartUpParts(subjects, rows);
    MeasurePaint(rows);
    MeasureObjects(growth);
    WriteResults(rows, growth, argv[3]);
    return 0;
}
