// What the program remembers of its use: the last send-to-friend form and an exit
// flag, under HKEY_CURRENT_USER\Software\Tamrow\SorvantaStd\Usage ("SendToFriend",
// "Exit"). The program creates it as UsageEx.
#pragma once

#include "SettingsStore.h"

#include "lib/src/iType.h"

class Usage : public SettingsStore {
public:
    class SendToFriend : public iType::Collection {
    public:
        explicit SendToFriend(iType::Collection* parent);
        ~SendToFriend() override;

        iType::String m_from;
        iType::String m_to;
        iType::String m_subject;
        iType::String m_message;
    };

    class Exit : public iType::Collection {
    public:
        explicit Exit(iType::Collection* parent);
        ~Exit() override;

        iType::Bool m_dialog;  // 1 until the registry says otherwise; read by nothing
    };

    Usage();
    // The same collections under another key.
    Usage(HKEY hive, const char* software, const char* company, const char* application, const char* subkey);
    ~Usage() override;

    SendToFriend m_sendToFriend;
    Exit m_exit;
};

class UsageEx : public Usage {
public:
    UsageEx();
    ~UsageEx() override;

protected:
    UsageEx(HKEY hive, const char* software, const char* company, const char* application, const char* subkey);
};

// The running program's usage store, from start-up to exit.
extern UsageEx* g_pUsage;
