// The usage store: the send-to-friend form and the exit flag.
#include "Usage.h"

UsageEx* g_pUsage = nullptr;

namespace {
constexpr int kFormFieldWidth = 128;
constexpr int kMessageWidth = 1024;
}

Usage::SendToFriend::SendToFriend(iType::Collection* parent)
    : Collection(parent, "SendToFriend", nullptr), m_from(this, "From", "From", kFormFieldWidth),
      m_to(this, "To", "To", kFormFieldWidth), m_subject(this, "Subject", "Subject", kFormFieldWidth),
      m_message(this, "Message", "Message", kMessageWidth)
{
}

Usage::SendToFriend::~SendToFriend() = default;

Usage::Exit::Exit(iType::Collection* parent) : Collection(parent, "Exit", nullptr), m_dialog(this, "Dialog", nullptr)
{
    m_dialog.SetNullValue(1);
}

Usage::Exit::~Exit() = default;

Usage::Usage() : Usage(HKEY_CURRENT_USER, "Software", "Tamrow", "SorvantaStd", "Usage")
{
}

Usage::Usage(HKEY hive, const char* software, const char* company, const char* application, const char* subkey)
    : SettingsStore(hive, software, company, application, subkey), m_sendToFriend(this), m_exit(this)
{
    Clear();
}

Usage::~Usage() = default;

UsageEx::UsageEx() = default;

UsageEx::UsageEx(HKEY hive, const char* software, const char* company, const char* application, const char* subkey)
    : Usage(hive, software, company, application, subkey)
{
}

UsageEx::~UsageEx() = default;
