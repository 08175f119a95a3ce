#include "Startup.h"

#include "FileBytes.h"
#include "FileRoutines.h"
#include "InputFile.h"
#include "ProductIni.h"
#include "Settings.h"
#include "Text.h"

#include <QProcess>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrana {

namespace fs = std::filesystem;

namespace {

// Start_INI goes on after its first error and gives up at the second.
class IniErrors {
public:
    IniErrors(const ShellState& state, Prompter& prompter) : m_state(state), m_prompter(prompter) {}
    bool fail(int number, const std::string& description) {
        if (++m_count < 2)
            return true;
        m_prompter.message({"Unexpected error #" + std::to_string(number) +
                                " occured: \r\nPath =" + m_state.programDir + "\r\n" + description +
                                ". Suggest re-installing " + kProductName + ".",
                            "In 'Start_INI' routine ...", PromptIcon::Critical, PromptButtons::Ok});
        return false;
    }

private:
    const ShellState& m_state;
    Prompter& m_prompter;
    int m_count = 0;
};

bool ReadProductIni(ShellState& state, const std::string& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes).ok())
        return false;
    ProductIni ini = ParseProductIni(bytes);
    state.waitFactor = ini.waitFactor;
    state.userName = ini.userName;
    return true;
}

void MissingFamilyMessage(Prompter& prompter) {
    prompter.message({std::string("Missing ") + kProductName +
                          "'s base directory, \\Quillon; Can't proceed without it.  Please "
                          "re-install " +
                          kProductName + ".",
                      "In 'Start_Path' routine ... Exiting!", PromptIcon::Critical,
                      PromptButtons::Ok});
}

int WriteNewFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wbx");
    if (!f)
        return errno;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int err = ok ? 0 : errno;
    if (std::fclose(f) != 0 && err == 0)
        err = errno;
    // A cut file would stand for good (it is only ever written when missing): the next start
    // writes it again instead.
    if (err != 0)
        std::remove(path.c_str());
    return err;
}

} // namespace

StartupEnvironment SystemEnvironment() {
    StartupEnvironment env;
    env.getenv = [](const char* name) {
        const char* v = std::getenv(name);
        return std::string(v ? v : "");
    };
    env.launch = [](const std::string& program) {
        return QProcess::startDetached(QString::fromStdString(program), {});
    };
    env.launchWith = [](const std::string& program, const std::vector<std::string>& arguments) {
        QStringList args;
        for (const auto& a : arguments)
            args << QString::fromStdString(a);
        return QProcess::startDetached(QString::fromStdString(program), args);
    };
    env.today = [] {
        std::time_t now = std::time(nullptr);
        std::tm t{};
        localtime_r(&now, &t);
        return t;
    };
    return env;
}

bool Start_Path(ShellState& state, Prompter& prompter, const StartupEnvironment& env) {
    state.userName.clear();
    state.writeFailed = 0;
    state.runMode = " ";
    state.waitFactor = 1;
    state.familyDir = TrimBlanks(env.getenv("Quillon"));
    if (state.familyDir.empty()) {
        MissingFamilyMessage(prompter);
        return false;
    }
    while (state.familyDir.size() > 1 && state.familyDir.back() == '/')
        state.familyDir.pop_back();
    // A family directory that is not there is a typing error, not a place for a new
    // installation: the suite is laid out by its installer.
    if (!dirExists(state.familyDir)) {
        MissingFamilyMessage(prompter);
        return false;
    }
    state.programDir = JoinPath(state.familyDir, "Veltr.hz");
    state.userDir = JoinPath(state.programDir, "User");
    return true;
}

std::string ProductIniText(const std::tm& today) {
    char date[32];
    std::snprintf(date, sizeof date, "%d/%d/%04d", today.tm_mon + 1, today.tm_mday,
                  today.tm_year + 1900);
    return std::string(kProductName) + "\u2122 Program                 " + date + "\r\n" +
           "1             ! Increase if COMMAND still active and stops your run\r\n" +
           "no name             ! User name\r\n";
}

bool Start_INI(ShellState& state, Prompter& prompter, const RegistryStore& store,
               const StartupEnvironment& env) {
    IniErrors errors(state, prompter);
    state.startupValuesFile = JoinPath(state.programDir, kStartupValuesName);
    std::string iniPath = JoinPath(state.programDir, kProductIniName);
    std::error_code ec;
    // An installation is a family directory with its program directory; a fresh one may
    // have neither yet.
    fs::create_directories(state.programDir, ec);
    if (ec && !errors.fail(ec.value(), ec.message()))
        return false;
    if (FileExists(iniPath)) {
        if (!ReadProductIni(state, iniPath) && !errors.fail(EIO, std::strerror(EIO)))
            return false;
    } else {
        state.userName = "no name";
        int err = WriteNewFile(iniPath, ToCp1252(ProductIniText(env.today())));
        if (err != 0 && !errors.fail(err, std::strerror(err)))
            return false;
    }
    if (!dirExists(state.userDir)) {
        fs::create_directories(state.userDir, ec);
        if (ec && !errors.fail(ec.value(), ec.message()))
            return false;
    }
    fs::current_path(state.userDir, ec);
    if (ec && !errors.fail(ec.value(), ec.message()))
        return false;
    std::string last = GetLastFilePath(store);
    state.dialogInitialDir = last.empty() ? state.userDir : last;
    return true;
}

bool StartPlots(const ShellState& state, Prompter& prompter, const ProgramLauncher& launch) {
    std::string plots = JoinPath(state.familyDir, "plots");
    if (FileExists(plots) && access(plots.c_str(), X_OK) == 0 && launch(plots))
        return true;
    prompter.message({"File missing! You must re-install Veltrana program.",
                      "Plots.exe file not found.", PromptIcon::Exclamation, PromptButtons::Ok});
    return false;
}

bool LoadMainForm(ShellState& state, DesignProblem& problem, FormBinding& form, Prompter& prompter,
                  RegistryStore& store, const StartupEnvironment& env) {
    if (!Start_Path(state, prompter, env) || !Start_INI(state, prompter, store, env))
        return false;
    if (!GetFileIn(store).empty())
        StartPlots(state, prompter, env.launch);
    ReportStoreProblem(store, {}, prompter);
    state.currentFileName = kStartupFileName;
    state.currentDir = state.programDir;
    if (FileExists(state.startupValuesFile)) {
        FileReadMe(kStartupValuesName, state.programDir, problem, prompter);
        form.GetAnswers();
    } else {
        form.PutAnswers();
    }
    state.currentDir = CurrentDirectory();
    state.dataChanged = false;
    ShowFilename(state, form);
    return true;
}

std::string CaptionFor(const std::string& currentFileName) {
    std::string product = std::string(kProductName) + ", a Quenlith based program";
    return currentFileName.empty() ? product : currentFileName + " ... " + product;
}

void ShowFilename(const ShellState& state, FormBinding& form) {
    form.setCaption(CaptionFor(state.currentFileName));
}

} // namespace veltrana
