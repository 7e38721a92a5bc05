// One test's stores over an empty installation that is the working directory while the bench lives.
// The test puts its files in place through `inst`, then opens the settings store and the store under
// test on them (the settings store alone when that is the one under test); close() ends both as the
// program's end would, so that what they wrote is on disk.
#pragma once

#include "ScriptedFileChooser.h"
#include "SettingsStore.h"
#include "TempInstallation.h"

#include <memory>
#include <type_traits>

template <typename Store> class StoreBench
{
public:
    TempInstallation inst{TempInstallation::Empty, TempInstallation::MakeCurrent};
    ScriptedFileChooser chooser;

    Store &open()
    {
        close();
        m_settings = std::make_unique<SettingsStore>(&chooser);
        if constexpr (std::is_same_v<Store, SettingsStore>) {
            return *m_settings;
        } else {
            m_store = std::make_unique<Store>(*m_settings);
            return *m_store;
        }
    }
    SettingsStore &settings() { return *m_settings; }
    void close()
    {
        m_store.reset();
        m_settings.reset();
    }

private:
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<Store> m_store;
};
