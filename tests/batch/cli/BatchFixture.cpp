#include "tests/batch/cli/BatchFixture.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/IniSettings.h"
#include "engine/platform/UserName.h"
#include "engine/plugins/PluginRegistration.h"

extern char** environ;

namespace corvelin {

namespace fs = std::filesystem;

namespace {

// Installs an INI store on one file for the scope of the object (the test process's settings calls go there).
class ScopedIniStore {
public:
    explicit ScopedIniStore(const std::string& path)
    {
        m_previous = SetSettingsStore(std::make_shared<CIniSettingsStore>(path, LoggedOnUserName()));
    }
    ~ScopedIniStore() { SetSettingsStore(m_previous); }

private:
    std::shared_ptr<SettingsStore> m_previous;
};

} // namespace

void BatchFixture::SetUp()
{
    const fs::path root = m_dir.Path();
    fs::create_directories(root / "bin");
    fs::create_directories(root / "home");
    fs::create_directories(root / "registry");
    fs::create_directories(root / "data");
    fs::copy_file(CORVELIN_BATCH_EXE, root / "bin" / "corvelinscope-batch");
    fs::create_directory_symlink(CORVELIN_LIB_DIR, root / "lib");
    m_programFolder = (root / "bin").string() + "/";
    m_settings = m_programFolder + "settings.ini";

    ScopedIniStore store(m_settings);
    PluginRegistration entry;
    entry.Key = "LibraryEntry";
    entry.Name = "Corvelinscope Library Entry";
    entry.Path = CORVELIN_ENTRY_READER;
    entry.Extension = ".ChromLibEntry";
    entry.Filter = "Library Chromatograms (*.ChromLibEntry)|*.ChromLibEntry";
    RegisterPlugin(entry);
    for (const char* extension : {".ms", ".hpt", ".elu", ".raw"}) {
        PluginRegistration fake;
        fake.Key = std::string("Fake") + (extension + 1);
        fake.Name = "Fake GC-MS";
        fake.Path = CORVELIN_FAKE_READER;
        fake.Extension = extension;
        fake.Filter = std::string("Fake (*") + extension + ")|*" + extension;
        RegisterPlugin(fake);
    }
}

void BatchFixture::RegisterReader(const std::string& key, const std::string& name, const std::string& module,
                                  const std::string& extension) const
{
    ScopedIniStore store(m_settings);
    PluginRegistration reader;
    reader.Key = key;
    reader.Name = name;
    reader.Path = module;
    reader.Extension = extension;
    reader.Filter = name + " (*" + extension + ")|*" + extension;
    RegisterPlugin(reader);
}

namespace {

// Whether the process catches SIGINT (bit 1 of SigCgt in /proc/<pid>/status).
bool CatchesSigint(pid_t pid)
{
    const std::string status = ReadAllText("/proc/" + std::to_string(pid) + "/status");
    const std::size_t at = status.find("SigCgt:");
    if (at == std::string::npos)
        return false;
    const unsigned long long mask = std::strtoull(status.c_str() + at + 7, nullptr, 16);
    return (mask & (1ull << (SIGINT - 1))) != 0;
}

} // namespace

BatchRun BatchFixture::Run(const std::vector<std::string>& args) const
{
    bool signaled = false;
    return Launch(args, false, signaled);
}

BatchRun BatchFixture::RunInterrupted(const std::vector<std::string>& args, bool& signaled) const
{
    return Launch(args, true, signaled);
}

BatchRun BatchFixture::RunInterruptedAfterOutput(const std::vector<std::string>& args, const std::string& output,
                                                 bool& signaled) const
{
    return Launch(args, true, signaled, output);
}

BatchRun BatchFixture::RunWithStdout(const std::vector<std::string>& args, const std::string& stdoutPath) const
{
    bool signaled = false;
    return Launch(args, false, signaled, {}, stdoutPath);
}

BatchRun BatchFixture::Launch(const std::vector<std::string>& args, bool interrupt, bool& signaled,
                              const std::string& interruptAfterOutput, const std::string& stdoutPath) const
{
    const std::string program = m_programFolder + "corvelinscope-batch";
    const std::string out = stdoutPath.empty() ? m_dir.File("stdout.txt") : stdoutPath;
    const std::string err = m_dir.File("stderr.txt");
    std::vector<std::string> env = {"CORVELIN_REGISTRY_DIR=" + m_dir.File("registry"), "HOME=" + m_dir.File("home"),
                                    "LANG=C", "TZ=UTC"};
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        if (v.rfind("PATH=", 0) == 0 || v.rfind("USER=", 0) == 0 || v.rfind("LOGNAME=", 0) == 0 ||
            v.rfind("ASAN_OPTIONS=", 0) == 0 || v.rfind("UBSAN_OPTIONS=", 0) == 0)
            env.push_back(v);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     stdoutPath.empty() ? O_WRONLY | O_CREAT | O_TRUNC : O_WRONLY, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    BatchRun run;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        if (interrupt) {
            for (int i = 0; i < 2000 && !CatchesSigint(pid); ++i)
                usleep(1000);
            for (int i = 0; i < 20000 && !interruptAfterOutput.empty() &&
                            ReadAllText(out).find(interruptAfterOutput) == std::string::npos;
                 ++i)
                usleep(100);
            kill(pid, SIGINT);
        }
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        signaled = WIFSIGNALED(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.Out = stdoutPath.empty() ? ReadAllText(out) : std::string();
    run.Err = ReadAllText(err);
    return run;
}

void BatchFixture::WriteUserInt(const char* section, const char* name, int value) const
{
    ScopedIniStore store(m_settings);
    WriteSettingInt(SettingsScope::CurrentUser, section, nullptr, name, value);
}

void BatchFixture::WriteMachineInt(const char* section, const char* name, int value) const
{
    ScopedIniStore store(m_settings);
    WriteSettingInt(SettingsScope::LocalMachine, section, nullptr, name, value);
}

std::string BatchFixture::Data(const std::string& relative) const
{
    const fs::path path = m_dir.Path() / "data" / relative;
    fs::create_directories(path.parent_path());
    return path.string();
}

std::string BatchFixture::OnlyCsvIn(const std::string& folder) const
{
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".csv")
            found.push_back(e.path().string());
    EXPECT_EQ(found.size(), 1u) << "csv files in " << folder;
    return found.empty() ? std::string() : found.front();
}

std::unique_ptr<CLibraryChromatogram> MakeTestChromatogram(const std::string& sampleName,
                                                           const std::vector<std::pair<double, double>>& peaks)
{
    auto c = std::make_unique<CLibraryChromatogram>();
    c->SampleName = sampleName;
    c->Comment = "comment of " + sampleName;
    c->DataFile = sampleName + ".raw";
    int index = 0;
    for (const auto& [rt, area] : peaks) {
        auto& p = c->AddPeak();
        p.RT = rt;
        p.StartRT = rt - 0.05;
        p.EndRT = rt + 0.05;
        p.Area = area;
        p.Height = area / 10.0;
        p.RI = 800.0 + rt * 50.0;
        for (int k = 0; k < 5; ++k)
            p.Spectrum.Append(
                CLibraryMassSpectrumPoint(40.0 + 13.0 * k + index, k == index % 5 ? 100.0 : 10.0 + 7 * k));
        p.Spectrum.ApplyWeighting();
        c->TotalArea += area;
        c->TotalHeight += p.Height;
        ++index;
    }
    for (int k = 0; k < 3; ++k) {
        auto point = std::make_unique<CLibraryRICalibrationPoint>();
        point->CompoundName = std::string("C").append(std::to_string(8 + k));
        point->RT = 2.0 + 4.0 * k;
        point->RI = 800.0 + 100.0 * k;
        c->RICalibration.AddPoint(std::move(point));
    }
    c->NumberPeaks();
    return c;
}

} // namespace corvelin
