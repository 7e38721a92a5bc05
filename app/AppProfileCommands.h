// The command line's app-profile commands: list, set PROGRAM PROFILE and clear PROGRAM on the links
// between programs and profiles, carried out with whichever process's settings run them (the command
// line's own, or the running window's, which then shows the change).
#pragma once

#include "CommandLine.h"

class SceneRules;
class SettingsStore;

class AppProfileCommands
{
public:
    static CommandLine::Result carryOut(const CommandLine::Request &request, SettingsStore &store,
                                        SceneRules &rules);
};
