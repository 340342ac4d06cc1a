// Measures the real Brisa.exe under Wine, each figure against a minimal program doing the same
// platform work in the same run, the two interleaved so that drift hits both alike. Prints a
// table and one "BENCH key=value ..." line per measure, which scripts/bench.sh turns into
// docs/PERFORMANCE.md.
//   brisa_bench.exe [runs]    runs per measure and program: 15 unless given, at least 5
#include "controls.h"
#include "imitation_client.h"
#include "resource.h"

#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr char kWindowCaption[] = "Baseline window";
constexpr char kFormCaption[] = "Baseline form";
constexpr char kListCaption[] = "Baseline list";
// Idle is measured over this long, with the client running and the folder watched.
constexpr DWORD kIdleMs = 60000;
// Generous: a list that redraws itself for every entry takes minutes for 10,000 files under Wine.
constexpr DWORD kTimeoutMs = 300000;

// The folder of this program, where the programs it measures are built.
std::string TestBinDir() {
    char szPath[MAX_PATH];
    const std::string strExe(szPath, GetModuleFileNameA(nullptr, szPath, MAX_PATH));
    return strExe.substr(0, strExe.find_last_of('\\'));
}

HWND FindProcessWindow(DWORD processId, const std::string& caption) {
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == processId && IsWindowVisible(hwnd) && TextOf(hwnd) == caption)
            return hwnd;
    }
    return nullptr;
}

// A control of the baselines' main windows, or of the form inside Brisa's frame.
HWND FindControl(HWND top, int id) {
    const HWND direct = GetDlgItem(top, id);
    return direct ? direct : GetDlgItem(GetWindow(top, GW_CHILD), id);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsEnabled(HWND hwnd) {
    return IsWindowEnabled(hwnd) != FALSE;
}

// The answer of a bounded send; failed when the window does not answer.
LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT failed = 0) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)
               ? static_cast<LRESULT>(result)
               : failed;
}

double NowMs() {
    static const double s_dTicksPerMs = [] {
        LARGE_INTEGER freq;
        QueryPerformanceFrequency(&freq);
        return freq.QuadPart / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart / s_dTicksPerMs;
}

// Polls until predicate holds. With bYield it only gives up the core between tries, for the
// measures of a few milliseconds; otherwise it sleeps 1 ms, sparing the core that Wine needs
// to start a process.
bool Poll(const std::function<bool()>& predicate, bool bYield) {
    const double dStart = NowMs();
    while (!predicate()) {
        if (NowMs() - dStart > kTimeoutMs)
            return false;
        bYield ? static_cast<void>(SwitchToThread()) : Sleep(1);
    }
    return true;
}

// Thrown, so that the programs started so far are closed on the way out.
[[noreturn]] void Fail(const std::string& strWhat) {
    throw std::runtime_error(strWhat);
}

// Waits while the program is busy listing, without SMTO_ABORTIFHUNG: a program deemed hung
// would make every try return at once, and the polling would take the core from the listing.
int Count(HWND hwndList) {
    DWORD_PTR nCount = 0;
    return SendMessageTimeoutA(hwndList, LB_GETCOUNT, 0, 0, SMTO_NORMAL, kTimeoutMs, &nCount)
               ? static_cast<int>(nCount)
               : -1;
}

// A program started under Wine, and its main window once it shows.
class CProgram {
public:
    CProgram(const std::string& strExe, const std::string& strArgs, const std::string& strCaption)
        : m_strCaption(strCaption) {
        std::string strCommand = "\"" + strExe + "\" " + strArgs;
        const std::string strDir = strExe.substr(0, strExe.find_last_of('\\'));
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        m_dStartMs = NowMs();
        if (!CreateProcessA(strExe.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr,
                            strDir.c_str(), &si, &pi))
            Fail("cannot start " + strExe);
        CloseHandle(pi.hThread);
        m_hProcess = pi.hProcess;
        m_nProcessId = pi.dwProcessId;
    }
    ~CProgram() {
        if (!m_hwnd || !PostMessageA(m_hwnd, WM_CLOSE, 0, 0) ||
            WaitForSingleObject(m_hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(m_hProcess, 1);
        WaitForSingleObject(m_hProcess, 5000);
        CloseHandle(m_hProcess);
    }
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    // Waits until the main window shows and predicate holds; the time since CreateProcess.
    double WaitShown(const std::function<bool()>& predicate) {
        if (!Poll(
                [&] {
                    m_hwnd = m_hwnd ? m_hwnd : FindProcessWindow(m_nProcessId, m_strCaption);
                    return m_hwnd && predicate();
                },
                false))
            Fail("no window \"" + m_strCaption + "\"");
        return NowMs() - m_dStartMs;
    }
    HWND Window() const { return m_hwnd; }
    HANDLE Process() const { return m_hProcess; }
    HWND Item(int nId) const { return FindControl(m_hwnd, nId); }
    double PeakWorkingSetMiB() const {
        PROCESS_MEMORY_COUNTERS counters = {};
        if (!GetProcessMemoryInfo(m_hProcess, &counters, sizeof(counters)) ||
            !counters.PeakWorkingSetSize)
            Fail("GetProcessMemoryInfo failed for " + m_strCaption);
        return counters.PeakWorkingSetSize / (1024.0 * 1024.0);
    }

private:
    const std::string m_strCaption;
    HANDLE m_hProcess = nullptr;
    DWORD m_nProcessId = 0;
    HWND m_hwnd = nullptr;
    double m_dStartMs = 0;
};

// Where the programs, their copies and the WAV folders live.
class CBench {
public:
    explicit CBench(int nRuns) : m_nRuns(nRuns) {
        char szFull[MAX_PATH];
        const std::string strWork = TestBinDir() + "\\..\\work";
        GetFullPathNameA(strWork.c_str(), sizeof(szFull), szFull, nullptr);
        m_strWork = szFull;
        CreateDirectoryA(m_strWork.c_str(), nullptr);
        CreateDirectoryA((m_strWork + "\\brisa").c_str(), nullptr);
        // A copy beside its own Brisa.INI, which makes Brisa keep its settings there.
        if (!CopyFileA((TestBinDir() + "\\Brisa.exe").c_str(), BrisaExe().c_str(), FALSE))
            Fail("cannot copy Brisa.exe");
    }

    // A folder of nFiles empty WAV files (with bMixed, WAV, MIDI and MP3 files in turn), made
    // once and kept for later runs.
    std::string WavDir(int nFiles, bool bMixed = false) const {
        const std::string strDir =
            m_strWork + (bMixed ? "\\mixed" : "\\wav") + std::to_string(nFiles);
        const std::string strDone = strDir + "\\complete.txt";
        if (FileExists(strDone))
            return strDir;
        CreateDirectoryA(strDir.c_str(), nullptr);
        for (int i = 0; i < nFiles; ++i) {
            char szName[32];
            // Created out of name order, as a real folder grows.
            const int nFile = (i * 7919) % nFiles;
            const char* pszType = bMixed ? &"wav\0mid\0mp3"[nFile % 3 * 4] : "wav";
            std::snprintf(szName, sizeof(szName), "\\sound %05d.%s", nFile, pszType);
            CloseHandle(CreateFileA((strDir + szName).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        }
        WriteFileText(strDone, "");
        return strDir;
    }

    CProgram StartBrisa(const std::string& strWavDir) const {
        WriteFileText(m_strWork + "\\brisa\\Brisa.INI",
                      "[Options]\r\nWAVDir=" + strWavDir + "\r\n");
        return CProgram(BrisaExe(), "", "Brisa Server - Brisa");
    }
    CProgram StartBaselineList(const std::string& strWavDir) const {
        return CProgram(TestBinDir() + "\\baseline_list.exe", "\"" + strWavDir + "\"",
                        kListCaption);
    }
    CProgram StartBaselineWindow() const {
        return CProgram(TestBinDir() + "\\baseline_window.exe", "", kWindowCaption);
    }
    CProgram StartBaselineForm(const std::string& strWavDir) const {
        return CProgram(TestBinDir() + "\\baseline_form.exe", "\"" + strWavDir + "\"",
                        kFormCaption);
    }
    int Runs() const { return m_nRuns; }

private:
    std::string BrisaExe() const { return m_strWork + "\\brisa\\Brisa.exe"; }

    const int m_nRuns;
    std::string m_strWork;
};

struct CStats {
    double m_dMedian, m_dMin, m_dMax;
};

CStats StatsOf(std::vector<double> list) {
    std::sort(list.begin(), list.end());
    const size_t n = list.size();
    return {n % 2 ? list[n / 2] : (list[n / 2 - 1] + list[n / 2]) / 2, list.front(), list.back()};
}

// One row of the table; the machine-readable line repeats it as key=value pairs. The goal bounds
// the ratio, or with bAbsolute Brisa's median itself; 0 sets none.
void Report(const std::string& strMeasure, const std::string& strUnit,
            const std::vector<double>& listBrisa, const std::vector<double>& listBase, double dGoal,
            bool bAbsolute = false) {
    const CStats brisa = StatsOf(listBrisa), base = StatsOf(listBase);
    const double dRatio = base.m_dMedian > 0 ? brisa.m_dMedian / base.m_dMedian : 0;
    const char* pszMet = dGoal == 0                                        ? "-"
                         : (bAbsolute ? brisa.m_dMedian : dRatio) <= dGoal ? "yes"
                                                                           : "no";
    std::printf("%-16s %-4s %9.2f %9.2f %9.2f | %9.2f %9.2f %9.2f | %6.2f <= %-4.2f %s\n",
                strMeasure.c_str(), strUnit.c_str(), brisa.m_dMedian, brisa.m_dMin, brisa.m_dMax,
                base.m_dMedian, base.m_dMin, base.m_dMax, dRatio, dGoal, pszMet);
    const auto joined = [](const std::vector<double>& list) {
        std::string str;
        for (const double d : list)
            str += (str.empty() ? "" : ",") + std::to_string(d);
        return str;
    };
    std::printf("BENCH measure=%s unit=%s runs=%zu brisa_median=%.3f brisa_min=%.3f "
                "brisa_max=%.3f base_median=%.3f base_min=%.3f base_max=%.3f ratio=%.3f "
                "goal=%.2f met=%s brisa_all=%s base_all=%s\n",
                strMeasure.c_str(), strUnit.c_str(), listBrisa.size(), brisa.m_dMedian,
                brisa.m_dMin, brisa.m_dMax, base.m_dMedian, base.m_dMin, base.m_dMax, dRatio, dGoal,
                pszMet, joined(listBrisa).c_str(), joined(listBase).c_str());
    std::fflush(stdout);
}

// Empties the list, clicks Refresh and waits for the list to hold nFiles entries: the time from
// the posted click. Emptying first tells the new listing from the old.
double TimeRefresh(const CProgram& program, int nFiles) {
    const HWND hwndList = program.Item(IDC_FILE_LIST), hwndButton = program.Item(IDC_REFRESH);
    Ask(hwndList, LB_RESETCONTENT);
    if (Count(hwndList) != 0)
        Fail("the list did not empty");
    Sleep(30); // let the emptied list repaint, so the click finds the program idle
    const double dStart = NowMs();
    PostMessageA(hwndButton, BM_CLICK, 0, 0);
    if (!Poll([&] { return Count(hwndList) == nFiles; }, true))
        Fail("Refresh did not list " + std::to_string(nFiles) + " files");
    return NowMs() - dStart;
}

std::function<bool()> ListHolds(CProgram& program, int nFiles) {
    return [&program, nFiles] { return Count(program.Item(IDC_FILE_LIST)) == nFiles; };
}

// Brisa's Refresh of 10,000 files mixed over the three types, against the baseline's listing of
// 10,000 WAVE files (listBase).
void BenchMixedListing(const CBench& bench, const std::vector<double>& listBase) {
    const std::string strDir = bench.WavDir(10000, true);
    std::vector<double> listBrisa;
    for (int i = 0; i < bench.Runs(); ++i) {
        std::fprintf(stderr, "listing 10000 mixed files, run %d of %d\n", i + 1, bench.Runs());
        CProgram brisa = bench.StartBrisa(strDir);
        brisa.WaitShown(ListHolds(brisa, 10000));
        TimeRefresh(brisa, 10000);
        listBrisa.push_back(TimeRefresh(brisa, 10000));
    }
    Report("listing_mixed_10000", "ms", listBrisa, listBase, 1.2);
}

// Refresh at each size in fresh processes, which the 10,000 files runs also give the peak working
// set of; the growth 100 -> 10,000 of each program.
void BenchListing(const CBench& bench) {
    std::vector<double> listBrisaFirst, listBaseFirst;
    for (const int nFiles : {100, 1000, 10000}) {
        const std::string strDir = bench.WavDir(nFiles);
        std::vector<double> listBrisa, listBase, listBrisaMiB, listBaseMiB;
        for (int i = 0; i < bench.Runs(); ++i) {
            std::fprintf(stderr, "listing %d files, run %d of %d\n", nFiles, i + 1, bench.Runs());
            for (const bool bBrisa : {false, true}) {
                CProgram program =
                    bBrisa ? bench.StartBrisa(strDir) : bench.StartBaselineList(strDir);
                program.WaitShown(ListHolds(program, nFiles));
                TimeRefresh(program, nFiles); // unrecorded: a process's first click costs more
                (bBrisa ? listBrisa : listBase).push_back(TimeRefresh(program, nFiles));
                (bBrisa ? listBrisaMiB : listBaseMiB).push_back(program.PeakWorkingSetMiB());
            }
        }
        Report("listing_" + std::to_string(nFiles), "ms", listBrisa, listBase, 1.2);
        if (nFiles == 10000)
            BenchMixedListing(bench, listBase);
        if (nFiles == 100) {
            listBrisaFirst = listBrisa;
            listBaseFirst = listBase;
        } else if (nFiles == 10000) {
            // A factor per run: its time over the median at 100 files.
            const auto growth = [](std::vector<double> list, const std::vector<double>& listFirst) {
                const double dFirst = StatsOf(listFirst).m_dMedian;
                for (double& d : list)
                    d /= dFirst;
                return list;
            };
            Report("listing_growth", "x", growth(listBrisa, listBrisaFirst),
                   growth(listBase, listBaseFirst), 1.0);
            Report("memory_10000", "MiB", listBrisaMiB, listBaseMiB, 1.5);
        }
    }
}

// From CreateProcess to the main window shown (with 1,000 files listed, for Brisa and the form
// baseline) and answering messages.
void BenchStartUp(const CBench& bench) {
    const std::string strDir = bench.WavDir(1000);
    enum { kBrisa, kWindow, kForm };
    std::vector<double> lists[3];
    for (int i = -1; i < bench.Runs(); ++i) { // run -1 warms the file cache
        for (const int nProgram : {kWindow, kForm, kBrisa}) {
            CProgram program = nProgram == kBrisa    ? bench.StartBrisa(strDir)
                               : nProgram == kWindow ? bench.StartBaselineWindow()
                                                     : bench.StartBaselineForm(strDir);
            const double dMs = program.WaitShown(
                nProgram == kWindow ? [&] { return Ask(program.Window(), WM_NULL, 0, 0, 1) == 0; }
                                    : ListHolds(program, 1000));
            if (i >= 0)
                lists[nProgram].push_back(dMs);
        }
    }
    Report("startup_1000", "ms", lists[kBrisa], lists[kWindow], 1.5);
    Report("startup_form_1000", "ms", lists[kBrisa], lists[kForm], 1.2);
}

// The CPU time in ms that a process has used.
double CpuMs(HANDLE hProcess) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(hProcess, &created, &exited, &kernel, &user))
        Fail("GetProcessTimes failed");
    const auto ms = [](const FILETIME& ft) {
        return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// The context switches of every thread of the Unix process that runs the Windows program
// (found by its command line, which Wine keeps), read through Wine's drive Z:; -1 when none is
// found. Each is a wake-up of the process, or a wait for Wine's server.
double ContextSwitches(const std::string& strExeTail) {
    WIN32_FIND_DATAA found;
    const HANDLE hFind = FindFirstFileA("Z:\\proc\\*", &found);
    double dSwitches = -1;
    for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore && dSwitches < 0;
         bMore = FindNextFileA(hFind, &found)) {
        const std::string strProc = std::string("Z:\\proc\\") + found.cFileName;
        if (!std::isdigit(static_cast<unsigned char>(found.cFileName[0])) ||
            ReadFileText(strProc + "\\cmdline").find(strExeTail) == std::string::npos)
            continue;
        dSwitches = 0;
        WIN32_FIND_DATAA task;
        const HANDLE hTasks = FindFirstFileA((strProc + "\\task\\*").c_str(), &task);
        for (BOOL bTask = hTasks != INVALID_HANDLE_VALUE; bTask;
             bTask = FindNextFileA(hTasks, &task)) {
            const std::string strStatus =
                ReadFileText(strProc + "\\task\\" + task.cFileName + "\\status");
            for (const char* pszKey : {"voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:"}) {
                const size_t nAt = strStatus.find(std::string("\n") + pszKey);
                if (nAt != std::string::npos)
                    dSwitches += std::atof(strStatus.c_str() + nAt + 1 + std::strlen(pszKey));
            }
        }
        if (hTasks != INVALID_HANDLE_VALUE)
            FindClose(hTasks);
    }
    if (hFind != INVALID_HANDLE_VALUE)
        FindClose(hFind);
    return dSwitches;
}

// Brisa left alone for a minute with the client running and 1,000 files watched, against the
// form baseline (the same controls, the caret blinking in the same box) left alone as long: the
// share of one core used, and the wake-ups per second.
void BenchIdle(const CBench& bench) {
    CImitationClient client;
    std::vector<double> listCpu[2], listWakeUps[2];
    for (const bool bBrisa : {false, true}) {
        std::fprintf(stderr, "idle for %u s, %s\n", static_cast<unsigned>(kIdleMs / 1000),
                     bBrisa ? "Brisa" : "baseline");
        CProgram program = bBrisa ? bench.StartBrisa(bench.WavDir(1000))
                                  : bench.StartBaselineForm(bench.WavDir(1000));
        program.WaitShown([&] {
            return bBrisa ? IsEnabled(program.Item(IDC_SEND))
                          : Count(program.Item(IDC_FILE_LIST)) == 1000;
        });
        Sleep(3000); // start-up settles
        const std::string strTail = bBrisa ? "\\brisa\\Brisa.exe" : "\\baseline_form.exe";
        const double dCpu = CpuMs(program.Process()), dSwitches = ContextSwitches(strTail);
        if (dSwitches < 0)
            Fail("no Unix process found for " + strTail);
        Sleep(kIdleMs);
        listCpu[bBrisa].push_back((CpuMs(program.Process()) - dCpu) * 100.0 / kIdleMs);
        listWakeUps[bBrisa].push_back((ContextSwitches(strTail) - dSwitches) * 1000.0 / kIdleMs);
    }
    Report("idle_cpu", "%", listCpu[true], listCpu[false], 1.0, true);
    Report("idle_wakeups", "/s", listWakeUps[true], listWakeUps[false], 0);
}

// From the posted click on Send to the line entered in the imitation client, against the same
// four messages sent to the client's edit line from here.
void BenchSend(const CBench& bench) {
    CImitationClient client;
    CProgram brisa = bench.StartBrisa(bench.WavDir(100));
    brisa.WaitShown([&] { return IsEnabled(brisa.Item(IDC_SEND)); });
    HWND hwndEdit = nullptr;
    client.Do([&](CModelClient& model) { hwndEdit = model.EditLine(); });
    const HWND hwndSend = brisa.Item(IDC_SEND);
    const auto timeLine = [&](const std::function<void()>& send) {
        client.ClearRecords();
        Sleep(30);
        const double dStart = NowMs();
        send();
        if (!Poll([&] { return !client.Entered().empty(); }, true))
            Fail("no line arrived in the client");
        return NowMs() - dStart;
    };
    const auto clickSend = [&] { PostMessageA(hwndSend, BM_CLICK, 0, 0); };
    timeLine(clickSend); // warm-up, and the line Brisa types
    const std::string strLine = client.Entered().front();
    const auto sendDirect = [&] {
        const auto sendToEdit = [&](UINT msg, WPARAM wParam, LPARAM lParam) {
            DWORD_PTR nResult = 0;
            SendMessageTimeoutA(hwndEdit, msg, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1500,
                                &nResult);
        };
        sendToEdit(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strLine.c_str()));
        sendToEdit(EM_SETSEL, 0, -1);
        sendToEdit(EM_SETSEL, static_cast<WPARAM>(-1), 0);
        sendToEdit(WM_CHAR, '\r', 1);
    };
    timeLine(sendDirect);
    if (client.Entered() != std::vector<std::string>{strLine})
        Fail("the direct send entered another line than Brisa's");
    std::vector<double> listBrisa, listBase;
    for (int i = 0; i < bench.Runs(); ++i) {
        listBase.push_back(timeLine(sendDirect));
        listBrisa.push_back(timeLine(clickSend));
    }
    Report("send", "ms", listBrisa, listBase, 2.0);
}

} // namespace

int main(int argc, char** argv) {
    const int nRuns = std::max(5, argc > 1 ? std::atoi(argv[1]) : 15);
    try {
        const CBench bench(nRuns);
        std::printf("%-16s %-4s %9s %9s %9s | %9s %9s %9s | ratio goal\n", "measure", "unit",
                    "Brisa med", "min", "max", "base med", "min", "max");
        BenchStartUp(bench);
        BenchListing(bench);
        BenchSend(bench);
        BenchIdle(bench);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "brisa_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
