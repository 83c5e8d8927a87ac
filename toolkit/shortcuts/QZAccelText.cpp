// Shortcut texts: key names from the toolkit's key-name table, modifiers in the order
// Shift, Ctrl, Alt ("Shift+Ctrl+F5"), and a command's shortcuts joined with ", ".
#include "toolkit/shortcuts/QZAccelManager.h"

#include <algorithm>

namespace {

struct KeyNameRow {
    WORD code;
    const char* name;
};

// Digits and letters are named by themselves (GetKeyName); the rest by this table.
constexpr KeyNameRow kKeyNames[] = {
    {0x01, "LEFTBUTTON"}, {0x02, "RIGHTBUTTON"}, {0x03, "CANCEL"},   {0x04, "MIDDLEBUTTON"},
    {0x08, "BACK"},       {0x09, "TAB"},         {0x0C, "CLEAR"},    {0x0D, "RETURN"},
    {0x10, "SHIFT"},      {0x11, "CONTROL"},     {0x12, "MENU"},     {0x13, "PAUSE"},
    {0x14, "CAPITAL"},    {0x1B, "ESCAPE"},      {0x20, "SPACE"},    {0x21, "PREVIOUS"},
    {0x22, "NEXT"},       {0x23, "END"},         {0x24, "HOME"},     {0x25, "LEFT"},
    {0x26, "UP"},         {0x27, "RIGHT"},       {0x28, "DOWN"},     {0x29, "SELECT"},
    {0x2A, "PRINT"},      {0x2B, "EXECUTE"},     {0x2C, "SNAPSHOT"}, {0x2D, "INSERT"},
    {0x2E, "DELETE"},     {0x2F, "HELP"},        {0x5B, "LWIN"},     {0x5C, "RWIN"},
    {0x5D, "APPS"},       {0x6A, "MULTIPLY"},    {0x6B, "ADD"},      {0x6C, "SEPARATOR"},
    {0x6D, "SUBTRACT"},   {0x6E, "DECIMAL"},     {0x6F, "DIVIDE"},   {0x70, "F1"},
    {0x71, "F2"},         {0x72, "F3"},          {0x73, "F4"},       {0x74, "F5"},
    {0x75, "F6"},         {0x76, "F7"},          {0x77, "F8"},       {0x78, "F9"},
    {0x79, "F10"},        {0x7A, "F11"},         {0x7B, "F12"},      {0x60, "NUMPAD0"},
    {0x61, "NUMPAD1"},    {0x62, "NUMPAD2"},     {0x63, "NUMPAD3"},  {0x64, "NUMPAD4"},
    {0x65, "NUMPAD5"},    {0x66, "NUMPAD6"},     {0x67, "NUMPAD7"},  {0x68, "NUMPAD8"},
    {0x69, "NUMPAD9"},    {0x90, "NUMLOCK"},     {0x91, "SCROLL"},   {0xF6, "ATTN"},
    {0xF7, "CRSEL"},      {0xF8, "EXSEL"},       {0xF9, "EREOF"},    {0xFA, "PLAY"},
    {0xFB, "ZOOM"},       {0xFC, "NONAME"},      {0xFD, "PA1"},      {0xFE, "OEM_CLEAR"},
};

struct ModifierNameRow {
    BYTE flag;
    const char* name;
};

constexpr ModifierNameRow kModifierNames[] = {{FSHIFT, "Shift"}, {FCONTROL, "Ctrl"}, {FALT, "Alt"}};

// Control characters, as "^C" in a resource script gives them, are typed with Ctrl.
constexpr WORD kFirstPrintable = 0x20;
constexpr WORD kLastCharacter = 0xFF;

} // namespace

CString CQZAccelManager::GetKeyName(WORD wKey)
{
    if ((wKey >= '0' && wKey <= '9') || (wKey >= 'A' && wKey <= 'Z'))
        return CString(static_cast<char>(wKey));
    for (const KeyNameRow& row : kKeyNames) {
        if (row.code == wKey)
            return row.name;
    }
    return CString();
}

void CQZAccelManager::GetAccelText(ACCEL accel, CString& strText)
{
    strText.Empty();
    if (accel.key == 0)
        return;
    BYTE modifiers = accel.fVirt;
    CString keyName;
    if (accel.fVirt & FVIRTKEY) {
        keyName = GetKeyName(accel.key);
    } else if (accel.key <= kLastCharacter) {
        // A character code names the character, not the virtual key of the same number
        // ('a' is 0x61, the code of NUMPAD1).
        char character = static_cast<char>(accel.key);
        if (accel.key < kFirstPrintable) {
            character = static_cast<char>(accel.key + '@');
            modifiers |= FCONTROL;
        }
        ::CharUpperBuffA(&character, 1);
        keyName = accel.key == ' ' ? GetKeyName(VK_SPACE) : CString(character);
    }
    for (const ModifierNameRow& row : kModifierNames) {
        if (modifiers & row.flag) {
            strText += row.name;
            strText += '+';
        }
    }
    strText += keyName;
}

void CQZAccelManager::GetShortcutText(UINT nCmdID, CString& strText) const
{
    for (const ACCEL& accel : m_table) {
        if (accel.cmd != static_cast<WORD>(nCmdID))
            continue;
        CString text;
        GetAccelText(accel, text);
        if (text.IsEmpty())
            continue;
        if (!strText.IsEmpty())
            strText += ", ";
        strText += text;
    }
}

BOOL CQZAccelManager::GetNextShortcut(int& nPos, UINT nCmdID, CString& strText, BYTE& fVirt, WORD& wKey) const
{
    for (int i = std::max(nPos, 0); i < static_cast<int>(m_table.size()); ++i) {
        const ACCEL& accel = m_table[i];
        if (accel.cmd != static_cast<WORD>(nCmdID))
            continue;
        GetAccelText(accel, strText);
        fVirt = accel.fVirt;
        wKey = accel.key;
        nPos = i + 1;
        return TRUE;
    }
    nPos = static_cast<int>(m_table.size());
    return FALSE;
}
