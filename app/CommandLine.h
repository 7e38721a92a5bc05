// The command line beside the window: --help, --version and the commands that work without one
// (list, state, apply-profile, set-dpi-stage, app-profile). While a copy runs, a command is handed to it over
// the instance socket; otherwise this process talks to the mouse itself.
#pragma once

#include <QString>
#include <QStringList>

class CommandLine
{
public:
    // Exit codes, as --help documents them.
    enum ExitCode {
        Success = 0,
        Failed = 1,       // the mouse did not answer or a command did not reach it
        BadArguments = 2, // usage
        NoMouse = 3,
        NoPermission = 4,
        Busy = 5 // the device is held by another program, or a running copy does not answer
    };

    enum class Command { Window, Help, Version, List, State, ApplyProfile, SetDpiStage, AppProfile, Invalid };

    struct Request
    {
        Command command = Command::Window;
        QStringList arguments; // the command and its arguments as typed, for the hand-over
        QString value;         // apply-profile's profile, set-dpi-stage's stage, app-profile's list/set/clear
        int stage = 0;         // set-dpi-stage, 1-based
        QString error;         // Invalid: what is wrong
    };

    struct Result
    {
        int exitCode = Success;
        QString out;
        QString err;
    };

    // The arguments without the program's name. Arguments that name no command (Qt's own options
    // such as "-platform xcb") start the window.
    static Request parse(const QStringList &arguments);
    // The commands a running window carries out when it is handed them.
    static bool isDeviceCommand(Command command);

    static QString helpText();
    static QString usageText();
    static QString versionText();
    static Result badArguments(const QString &error);
    // Adds what the settings files made known while a command ran. A profile applied whose choice
    // could not be saved is not done: the next start would not know it.
    static void addSettingsNotices(Result &result, Command command, const QStringList &notices);

    // main() asks before it makes the window's application object.
    static bool wantsCommandLine(int argc, char **argv);
    // Runs the command of argv with no window and returns the exit code.
    static int run(int argc, char **argv);
};
