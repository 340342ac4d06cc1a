// Measures the real Brisa.exe under Wine, each figure against a minimal program doing the same
// platform work in the same run, the two interleaved so that drift hits both alike. Prints a
// table and one "BENCH key=value ..." line per measure, which scripts/bench.sh turns into
// docs/PERFORMANCE.md.
//   brisa_bench.exe [runs [group...]]    runs per measure and program: 15 unless given, at least
//                                         5; only the groups named (see main), else all
#include "controls.h"
#include "framework/text.h"
#include "imitation_client.h"
#include "resource.h"

#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <thread>

namespace {

constexpr char kWindowCaption[] = "Baseline window";
constexpr char kFormCaption[] = "Baseline form";
constexpr char kListCaption[] = "Baseline list";
// Idle is measured over this long, with the client running and the folder watched.
constexpr DWORD kIdleMs = 60000;
// Generous: a list that redraws itself for every entry takes minutes for 10,000 files under Wine.
constexpr DWORD kTimeoutMs = 300000;
// The big folders, made by scripts/bench.sh: of sounds alone, and of other files with 10 sounds.
constexpr int kBigFolderFiles = 100000;
// A temporary file is written this often in the big folder, for this long, while Brisa is probed.
constexpr DWORD kWriteEveryMs = 300, kWritingMs = 20000;
// The nicknames of the channel that DCC Send copies.
constexpr int kChannelNicks = 2000;

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

// How late a program's window thread comes to a posted message: a margin posted to the name box
// shows once that thread has handled it (neither Brisa nor the form baseline looks at margins).
// Only a posted message tells: a thread blocked in SendMessage still answers sent ones.
class CPostProbe {
public:
    explicit CPostProbe(HWND hwndBox)
        : m_hwnd(hwndBox), m_nMargin(LOWORD(Ask(hwndBox, EM_GETMARGINS))) {}

    // Posts the next margin; never asks before, which would wait for a busy thread.
    void Post() {
        m_nMargin = m_nMargin % 8 + 1;
        m_dPostedMs = NowMs();
        PostMessageA(m_hwnd, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(m_nMargin, 0));
    }
    bool Handled() const { return LOWORD(Ask(m_hwnd, EM_GETMARGINS)) == m_nMargin; }
    // The time from the post until the margin shows.
    double Delay() {
        Post();
        if (!Poll([this] { return Handled(); }, false))
            Fail("a posted message was never handled");
        return NowMs() - m_dPostedMs;
    }

private:
    const HWND m_hwnd;
    WORD m_nMargin;
    double m_dPostedMs = 0;
};

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

    // A folder of nFiles empty WAV files (with bMixed, WAV, MIDI and MP3 files in turn; with
    // nSubfolders, the same names spread over that many subfolders "folder 00"..., in runs of
    // consecutive numbers), made once and kept for later runs.
    std::string WavDir(int nFiles, bool bMixed = false, int nSubfolders = 0) const {
        const std::string strDir = m_strWork +
                                   (bMixed        ? "\\mixed"
                                    : nSubfolders ? "\\tree"
                                                  : "\\wav") +
                                   std::to_string(nFiles);
        const std::string strDone = strDir + "\\complete.txt";
        if (FileExists(strDone))
            return strDir;
        CreateDirectoryA(strDir.c_str(), nullptr);
        for (int n = 0; n < nSubfolders; ++n) {
            char szName[32];
            std::snprintf(szName, sizeof(szName), "\\folder %02d", n);
            CreateDirectoryA((strDir + szName).c_str(), nullptr);
        }
        for (int i = 0; i < nFiles; ++i) {
            char szName[48];
            // Created out of name order, as a real folder grows.
            const int nFile = (i * 7919) % nFiles;
            const char* pszType = bMixed ? &"wav\0mid\0mp3"[nFile % 3 * 4] : "wav";
            const int nLength = nSubfolders ? std::snprintf(szName, sizeof(szName), "\\folder %02d",
                                                            nFile / (nFiles / nSubfolders))
                                            : 0;
            std::snprintf(szName + nLength, sizeof(szName) - nLength, "\\sound %05d.%s", nFile,
                          pszType);
            CloseHandle(CreateFileA((strDir + szName).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        }
        WriteFileText(strDone, "");
        return strDir;
    }

    // A folder of kBigFolderFiles files that scripts/bench.sh made natively: under Wine, file by
    // file, it would take minutes.
    std::string BigDir(const std::string& strName) const {
        const std::string strDir = m_strWork + "\\" + strName;
        if (!FileExists(strDir + "\\complete.txt"))
            Fail(strDir + " is missing: scripts/bench.sh makes it");
        return strDir;
    }

    // strMore: other lines of the settings, such as the client to look for.
    CProgram StartBrisa(const std::string& strWavDir, const std::string& strMore = "") const {
        WriteFileText(m_strWork + "\\brisa\\Brisa.INI",
                      "[Options]\r\nWAVDir=" + strWavDir + "\r\n" + strMore);
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

// What a goal bounds: the ratio of the medians, Brisa's median itself, or Brisa's worst figure.
enum class EBound { Ratio, Median, Worst };

// One row of the table; the machine-readable line repeats it as key=value pairs. A goal of 0 sets
// none.
void Report(const std::string& strMeasure, const std::string& strUnit,
            const std::vector<double>& listBrisa, const std::vector<double>& listBase, double dGoal,
            EBound bound = EBound::Ratio) {
    const CStats brisa = StatsOf(listBrisa), base = StatsOf(listBase);
    const double dRatio = base.m_dMedian > 0 ? brisa.m_dMedian / base.m_dMedian : 0;
    const double dBounded = bound == EBound::Ratio    ? dRatio
                            : bound == EBound::Median ? brisa.m_dMedian
                                                      : brisa.m_dMax;
    const char* pszMet = dGoal == 0 ? "-" : dBounded <= dGoal ? "yes" : "no";
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
    // Polled with sleeps: a poll that only yields floods the window's thread and the Wine server
    // with messages while Brisa's listing thread needs a core too.
    if (!Poll([&] { return Count(hwndList) == nFiles; }, false))
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

// Brisa's Refresh of 10,000 files in 100 subfolders of 100, against its Refresh of the same names
// in one folder, the two in turn in fresh processes.
void BenchSubfolders(const CBench& bench) {
    const std::string strFlat = bench.WavDir(10000), strTree = bench.WavDir(10000, false, 100);
    std::vector<double> lists[2];
    for (int i = 0; i < bench.Runs(); ++i) {
        std::fprintf(stderr, "listing 10000 files in 100 subfolders, run %d of %d\n", i + 1,
                     bench.Runs());
        for (const bool bTree : {false, true}) {
            CProgram brisa = bench.StartBrisa(bTree ? strTree : strFlat);
            brisa.WaitShown(ListHolds(brisa, 10000));
            TimeRefresh(brisa, 10000);
            lists[bTree].push_back(TimeRefresh(brisa, 10000));
        }
    }
    Report("listing_tree_10000", "ms", lists[true], lists[false], 1.2);
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
    // Reported only: its floor is what the form's own controls cost (see the same-form figure).
    Report("startup_1000", "ms", lists[kBrisa], lists[kWindow], 0);
    Report("startup_form_1000", "ms", lists[kBrisa], lists[kForm], 1.2);
}

// Holds once the program's window has handled a posted message: it shows and answers.
std::function<bool()> Answers(CProgram& program) {
    return [&program, probe = std::optional<CPostProbe>()]() mutable {
        if (!probe) {
            const HWND hwndBox = program.Item(IDC_FILE_NAME);
            if (!hwndBox)
                return false;
            probe.emplace(hwndBox);
            probe->Post();
        }
        return probe->Handled();
    };
}

// Brisa on the folder of 100,000 WAVE files: the window shown and answering, against the form
// baseline on an empty folder; the list complete, against the form baseline filled by one
// DlgDirList of the same folder.
void BenchBigStartUp(const CBench& bench) {
    const std::string strBig = bench.BigDir("wav100000"), strEmpty = bench.WavDir(0);
    std::vector<double> listShown, listListed, listEmptyForm, listBigForm;
    for (int i = -1; i < bench.Runs(); ++i) { // run -1 warms the file cache
        std::fprintf(stderr, "start-up with %d files, run %d of %d\n", kBigFolderFiles, i + 1,
                     bench.Runs());
        const auto record = [i](std::vector<double>& list, double dMs) {
            if (i >= 0)
                list.push_back(dMs);
        };
        {
            CProgram form = bench.StartBaselineForm(strEmpty);
            record(listEmptyForm, form.WaitShown(Answers(form)));
        }
        {
            CProgram form = bench.StartBaselineForm(strBig);
            record(listBigForm, form.WaitShown(ListHolds(form, kBigFolderFiles)));
        }
        CProgram brisa = bench.StartBrisa(strBig);
        record(listShown, brisa.WaitShown(Answers(brisa)));
        record(listListed, brisa.WaitShown(ListHolds(brisa, kBigFolderFiles)));
    }
    Report("startup_shown_100000", "ms", listShown, listEmptyForm, 1.2);
    Report("startup_listed_100000", "ms", listListed, listBigForm, 1.2);
}

// The names of WavDir(nFiles) that contain strText, case ignored, in the order Brisa lists them.
std::vector<std::string> NamesHolding(int nFiles, const std::string& strText) {
    const auto lower = [](std::string str) {
        for (char& c : str)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return str;
    };
    std::vector<std::string> listNames;
    for (int n = 0; n < nFiles; ++n) {
        char szName[32];
        std::snprintf(szName, sizeof(szName), "sound %05d.wav", n);
        if (lower(szName).find(lower(strText)) != std::string::npos)
            listNames.push_back(szName);
    }
    return listNames;
}

// Types strKeys ('\b' a Backspace) into the search box a key at a time, at a quick typist's pace:
// the time from each posted WM_CHAR until the list holds just the names that contain the text.
std::vector<double> TimeKeystrokes(const CProgram& program, const std::string& strKeys,
                                   int nFiles) {
    const HWND hwndFilter = program.Item(IDC_FILTER);
    fw::CListBox list;
    list.m_hWnd = program.Item(IDC_FILE_LIST);
    std::string strText;
    std::vector<double> listMs;
    for (const char c : strKeys) {
        strText = c == '\b' ? strText.substr(0, strText.size() - 1) : strText + c;
        const std::vector<std::string> listShown = NamesHolding(nFiles, strText);
        Sleep(100); // the list before drawn, the program idle
        const double dStart = NowMs();
        PostMessageA(hwndFilter, WM_CHAR, static_cast<unsigned char>(c), 1);
        // The text is the box's once the key has been handled, and the list is narrowed in the
        // same handling: no message comes between.
        if (!Poll(
                [&] {
                    return Count(list.m_hWnd) == static_cast<int>(listShown.size()) &&
                           TextOf(hwndFilter) == strText;
                },
                false))
            Fail("the search for \"" + strText + "\" did not narrow the list");
        listMs.push_back(NowMs() - dStart);
        if (list.GetText(0) != listShown.front() ||
            list.GetText(list.SendMessage(LB_GETCOUNT) - 1) != listShown.back())
            Fail("the search for \"" + strText + "\" shows other names");
    }
    return listMs;
}

// Brisa with 10,000 names listed, a search typed and taken back, against the form baseline,
// which narrows its list the least way: the names copied from its list once, then for each
// change the list emptied and refilled with those that contain the text.
void BenchFilter(const CBench& bench) {
    constexpr int kFiles = 10000;
    // Each key changes the number of names shown; the last shows all of them again.
    const std::string strKeys = "742\b\b\b";
    const std::string strDir = bench.WavDir(kFiles);
    std::vector<double> lists[2];
    for (int i = 0; i < bench.Runs(); ++i) {
        std::fprintf(stderr, "searching %d names, run %d of %d\n", kFiles, i + 1, bench.Runs());
        for (const bool bBrisa : {false, true}) {
            CProgram program = bBrisa ? bench.StartBrisa(strDir) : bench.StartBaselineForm(strDir);
            program.WaitShown(ListHolds(program, kFiles));
            TimeKeystrokes(program, "9\b", kFiles); // unrecorded: the first search costs more
            for (const double dMs : TimeKeystrokes(program, strKeys, kFiles))
                lists[bBrisa].push_back(dMs);
        }
    }
    Report("filter_10000", "ms", lists[true], lists[false], 50, EBound::Worst);
}

// A temporary file (no sound) written in the folder every kWriteEveryMs for kWritingMs, as a
// browser or a sync tool writes: each made, filled and closed, and the one before removed.
void WriteTemporaryFiles(const std::string& strDir) {
    const double dStart = NowMs();
    std::string strBefore;
    for (DWORD n = 0; n < kWritingMs / kWriteEveryMs; ++n) {
        const std::string strFile = strDir + "\\~write " + std::to_string(n) + ".tmp";
        WriteFileText(strFile, std::string(4096, 'x'));
        if (!strBefore.empty())
            DeleteFileA(strBefore.c_str());
        strBefore = strFile;
        const double dNext = dStart + (n + 1) * kWriteEveryMs;
        Sleep(static_cast<DWORD>(std::max(0.0, dNext - NowMs())));
    }
    DeleteFileA(strBefore.c_str());
}

// The longest delay of a message posted every few milliseconds to the name box while temporary
// files are written in the folder.
double LongestDelayWhileWriting(HWND hwndBox, const std::string& strDir) {
    CPostProbe probe(hwndBox);
    std::thread writer(WriteTemporaryFiles, strDir);
    double dLongest = 0;
    try {
        for (const double dEnd = NowMs() + kWritingMs; NowMs() < dEnd; Sleep(5))
            dLongest = std::max(dLongest, probe.Delay());
    } catch (...) {
        writer.join();
        throw;
    }
    writer.join();
    return dLongest;
}

// Brisa following a big folder in which a temporary file is written every 300 ms, against the
// form baseline (the same controls, its list filled once) on the same folder: how late the
// window comes to a posted message, at worst.
void BenchResponsiveness(const CBench& bench) {
    const struct {
        const char* pszFolder;
        int nSounds;
        const char* pszMeasure;
    } cases[] = {{"wav100000", kBigFolderFiles, "responsive_wav_100000"},
                 {"other100000", 10, "responsive_other_100000"}};
    for (const auto& c : cases) {
        const std::string strDir = bench.BigDir(c.pszFolder);
        std::vector<double> lists[2];
        for (const bool bBrisa : {false, true}) {
            std::fprintf(stderr, "%u s of temporary files in %s, %s\n",
                         static_cast<unsigned>(kWritingMs / 1000), c.pszFolder,
                         bBrisa ? "Brisa" : "baseline");
            CProgram program = bBrisa ? bench.StartBrisa(strDir) : bench.StartBaselineForm(strDir);
            program.WaitShown(ListHolds(program, c.nSounds));
            Sleep(1000); // the filled list drawn, the start settled
            lists[bBrisa].push_back(LongestDelayWhileWriting(program.Item(IDC_FILE_NAME), strDir));
            if (Count(program.Item(IDC_FILE_LIST)) != c.nSounds)
                Fail("the list of " + std::string(c.pszFolder) + " changed");
        }
        Report(c.pszMeasure, "ms", lists[true], lists[false], 100, EBound::Median);
    }
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
    Report("idle_cpu", "%", listCpu[true], listCpu[false], 1.0, EBound::Median);
    Report("idle_wakeups", "/s", listWakeUps[true], listWakeUps[false], 0);
}

// The time from send() until the client has entered a line.
double TimeLine(CImitationClient& client, const std::function<void()>& send) {
    client.ClearRecords();
    Sleep(30);
    const double dStart = NowMs();
    send();
    if (!Poll([&] { return !client.Entered().empty(); }, true))
        Fail("no line arrived in the client");
    return NowMs() - dStart;
}

// The hotkey that Brisa's settings give the first file of its folder, which Send sends at start.
constexpr char kHotkeys[] = "[Hotkeys]\r\nCtrl+Alt+F9=sound 00000.wav\r\n";

// Brings a window to the front, as a user's click there would, and lets the activation settle.
void BringToFront(HWND hwnd) {
    SetForegroundWindow(hwnd);
    if (!Poll([hwnd] { return GetForegroundWindow() == hwnd; }, false))
        Fail("a window did not come to the front");
    Sleep(50);
}

// Times the baseline, Brisa's Send (a posted click) and Brisa's hotkey (Ctrl+Alt+F9 pressed
// through the system's input) in turn, after a warm-up of each, Brisa in front all along: a click
// on a window behind activates it first, which would cost the click several milliseconds, and
// switching the front window between the two leaves activation work to the next measure. The keys
// of the hotkey then reach Brisa's window besides the hotkey itself. The baseline is given the
// line Brisa typed, and it and the hotkey must enter the same.
void TimeSends(const CBench& bench, CImitationClient& client, const CProgram& brisa,
               const std::function<void(const std::string&)>& sendBase, std::vector<double>* pBrisa,
               std::vector<double>* pBase, std::vector<double>* pHotkey) {
    const HWND hwndSend = brisa.Item(IDC_SEND);
    const auto clickSend = [&] { PostMessageA(hwndSend, BM_CLICK, 0, 0); };
    const auto pressHotkey = [] { PressHotkey(VK_F9); };
    BringToFront(brisa.Window());
    TimeLine(client, clickSend); // warm-up, and the line Brisa types
    const std::string strLine = client.Entered().front();
    const auto sendDirect = [&] { sendBase(strLine); };
    for (int i = -1; i < bench.Runs(); ++i) { // run -1 warms up
        const double dBase = TimeLine(client, sendDirect);
        if (client.Entered() != std::vector<std::string>{strLine})
            Fail("the baseline entered another line than Brisa's");
        const double dBrisa = TimeLine(client, clickSend);
        const double dHotkey = TimeLine(client, pressHotkey);
        if (client.Entered() != std::vector<std::string>{strLine})
            Fail("the hotkey entered another line than Send");
        if (i >= 0) {
            pBase->push_back(dBase);
            pBrisa->push_back(dBrisa);
            pHotkey->push_back(dHotkey);
        }
    }
}

// From the posted click on Send to the line entered in the imitation client of the old layout,
// which refuses the interface, against the same four messages sent to the client's edit line
// from here.
void BenchSend(const CBench& bench) {
    CImitationClient client;
    CProgram brisa = bench.StartBrisa(bench.WavDir(100), kHotkeys);
    brisa.WaitShown([&] { return IsEnabled(brisa.Item(IDC_SEND)); });
    HWND hwndEdit = nullptr;
    client.Do([&](CModelClient& model) { hwndEdit = model.EditLine(); });
    const auto sendDirect = [&](const std::string& strLine) {
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
    std::vector<double> listBrisa, listBase, listHotkey;
    TimeSends(bench, client, brisa, sendDirect, &listBrisa, &listBase, &listHotkey);
    Report("send", "ms", listBrisa, listBase, 2.0);
    Report("hotkey", "ms", listHotkey, listBrisa, 1.2);
}

// mIRC's interface spoken by the benchmark itself, the least a program does to evaluate or
// perform a line: a mapping of its own, made once, its text in UTF-16 (method 8), each message
// sent as Brisa sends its own.
class CMircMapping {
public:
    explicit CMircMapping(HWND hwndClient) : m_hwndClient(hwndClient) {
        m_hMapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBytes,
                                        (L"mIRC" + std::to_wstring(kIndex)).c_str());
        if (!m_hMapping || GetLastError() == ERROR_ALREADY_EXISTS)
            Fail("cannot make the mapping mIRC" + std::to_string(kIndex));
        m_pszText = static_cast<wchar_t*>(MapViewOfFile(m_hMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        if (!m_pszText)
            Fail("cannot map the mapping");
    }
    ~CMircMapping() {
        UnmapViewOfFile(m_pszText);
        CloseHandle(m_hMapping);
    }
    CMircMapping(const CMircMapping&) = delete;
    CMircMapping& operator=(const CMircMapping&) = delete;

    std::string Evaluate(const std::string& strExpression) {
        Hand(WM_USER + 201, kUnicode, strExpression); // WM_MEVALUATE
        return fw::Narrow(m_pszText);
    }
    void Perform(const std::string& strLine) {
        Hand(WM_USER + 200, kUnicode | 1, strLine); // WM_MCOMMAND, as if typed
    }

private:
    static constexpr DWORD kBytes = 4096;
    static constexpr unsigned kIndex = 99; // a name that Brisa, which tries "mIRC" first, leaves
    static constexpr WPARAM kUnicode = 8;

    void Hand(UINT msg, WPARAM method, const std::string& strText) {
        const std::wstring strWide = fw::Widen(strText);
        std::memcpy(m_pszText, strWide.c_str(), (strWide.size() + 1) * sizeof(wchar_t));
        DWORD_PTR nAnswer = 0;
        if (!SendMessageTimeoutW(m_hwndClient, msg, method, kIndex, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                 1500, &nAnswer) ||
            nAnswer != 1)
            Fail("the client did not take \"" + strText + "\"");
    }

    const HWND m_hwndClient;
    HANDLE m_hMapping;
    wchar_t* m_pszText;
};

// Brisa against today's client (class "mIRC", current layout, interface version 7.72) with a
// channel of 2,000 nicknames. The copy: from the posted click on DCC to the DCC Send dialog shown
// with every nickname listed, against the benchmark asking the count and then each nickname in
// an evaluation of its own, as Brisa copied them before. Send: from the posted click to the line
// entered, against the same two messages (the active window and the sounds folder in one
// evaluation, then the line performed) sent from here.
void BenchClientInterface(const CBench& bench) {
    std::vector<std::string> listNicks;
    for (int i = 1; i <= kChannelNicks; ++i)
        listNicks.push_back((i % 10 ? "" : "@") + std::string("guest") + std::to_string(i));
    CImitationClient client({"mIRC", "#chat [+nt]: hello", listNicks, true, true});
    CProgram brisa = bench.StartBrisa(bench.WavDir(100), "Client=1011\r\n" + std::string(kHotkeys));
    brisa.WaitShown([&] { return IsEnabled(brisa.Item(IDC_DCC)); });
    CMircMapping mapping(client.TopLevel());

    const auto copyInDcc = [&] {
        const double dStart = NowMs();
        PostMessageA(brisa.Item(IDC_DCC), BM_CLICK, 0, 0);
        HWND hwndDialog = nullptr;
        if (!Poll(
                [&] {
                    hwndDialog = FindWindowA(nullptr, "Brisa - DCC Send");
                    return hwndDialog && IsWindowVisible(hwndDialog) &&
                           Count(GetDlgItem(hwndDialog, IDC_NICK_LIST)) == kChannelNicks;
                },
                false))
            Fail("the DCC Send dialog did not list the nicknames");
        const double dMs = NowMs() - dStart;
        PostMessageA(hwndDialog, WM_COMMAND, IDCANCEL, 0);
        if (!Poll([&] { return !IsWindow(hwndDialog); }, false))
            Fail("the DCC Send dialog did not close");
        CPostProbe(brisa.Item(IDC_FILE_NAME)).Delay(); // Brisa has taken the close in
        return dMs;
    };
    const auto copyOneByOne = [&] {
        const double dStart = NowMs();
        const int nCount = std::atoi(mapping.Evaluate("$nick($active,0)").c_str());
        std::vector<std::string> listCopied;
        for (int n = 1; n <= nCount; ++n)
            listCopied.push_back(mapping.Evaluate("$nick($active," + std::to_string(n) + ")"));
        const double dMs = NowMs() - dStart;
        if (listCopied.size() != listNicks.size() || listCopied.back().empty())
            Fail("the baseline copied " + std::to_string(listCopied.size()) + " nicknames");
        return dMs;
    };
    std::vector<double> listBrisa, listBase;
    for (int i = -1; i < bench.Runs(); ++i) { // run -1 warms up, and Brisa asks the version
        std::fprintf(stderr, "copying %d nicknames, run %d of %d\n", kChannelNicks, i + 1,
                     bench.Runs());
        const double dBase = copyOneByOne(), dBrisa = copyInDcc();
        if (i >= 0) {
            listBase.push_back(dBase);
            listBrisa.push_back(dBrisa);
        }
    }
    Report("nicks_2000", "ms", listBrisa, listBase, 0.1);

    listBrisa.clear();
    listBase.clear();
    const auto sendDirect = [&](const std::string& strLine) {
        mapping.Evaluate("$active $sound(wave)");
        mapping.Perform(strLine);
    };
    std::vector<double> listHotkey;
    TimeSends(bench, client, brisa, sendDirect, &listBrisa, &listBase, &listHotkey);
    Report("send_interface", "ms", listBrisa, listBase, 1.5);
    Report("hotkey_interface", "ms", listHotkey, listBrisa, 1.2);
}

} // namespace

int main(int argc, char** argv) {
    const int nRuns = std::max(5, argc > 1 ? std::atoi(argv[1]) : 15);
    // The groups of measures, in the order they run; named after the runs, only those run.
    const std::pair<const char*, void (*)(const CBench&)> groups[] = {
        {"startup", BenchStartUp},
        {"bigstartup", BenchBigStartUp},
        {"listing", BenchListing},
        {"subfolders", BenchSubfolders},
        {"filter", BenchFilter},
        {"send", BenchSend},
        {"interface", BenchClientInterface},
        {"responsive", BenchResponsiveness},
        {"idle", BenchIdle},
    };
    try {
        const CBench bench(nRuns);
        std::printf("%-16s %-4s %9s %9s %9s | %9s %9s %9s | ratio goal\n", "measure", "unit",
                    "Brisa med", "min", "max", "base med", "min", "max");
        for (const auto& group : groups) {
            if (argc <= 2 || std::find_if(argv + 2, argv + argc, [&](const char* psz) {
                                 return std::strcmp(psz, group.first) == 0;
                             }) != argv + argc)
                group.second(bench);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "brisa_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
