// Carries out the command line's device commands with the objects of whichever process runs them:
// the command-line copy's own, or the running window's (so the window shows the change too).
#pragma once

#include "CommandLine.h"
#include "DeviceDiscovery.h"

class Hid_Thread;
class SettingsStore;
class SceneRules;
class myQQuickView;

class MouseCommands
{
public:
    struct Session
    {
        Hid_Thread *worker = nullptr;
        SettingsStore *store = nullptr; // its current profile is the active one
        myQQuickView *view = nullptr;   // with the scene: apply-profile goes through it
        // Whether the mouse was accepted; otherwise why not, and the interface concerned.
        DeviceDiscovery::Outcome outcome = DeviceDiscovery::Outcome::NoMouse;
        QString path;
    };

    // The mice present, from the device table; opens nothing.
    static CommandLine::Result list(const QString &icType);
    // state, apply-profile or set-dpi-stage.
    static CommandLine::Result carryOut(const CommandLine::Request &request, Session &session,
                                        SceneRules &rules);
    // The message and exit code for a mouse that could not be used.
    static CommandLine::Result unusable(DeviceDiscovery::Outcome outcome, const QString &path);

    // The answer to apply-profile of a profile that is not there.
    static CommandLine::Result noSuchProfile(const QString &which, SceneRules &rules,
                                             const SettingsStore &store);
    // Profile by number (as state shows it) or by name; -1 when none matches.
    static int resolveProfile(const QString &which, SceneRules &rules, const SettingsStore &store);
};
