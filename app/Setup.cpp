// The printer and scanner settings store.
#include "Setup.h"

Setup* g_pSetup = nullptr;

namespace {
constexpr int kPrinterNameWidth = 256;
}

Setup::Printer::Printer(iType::Collection* parent)
    : Collection(parent, "Printer", nullptr), m_name(this, "Name", "Name", kPrinterNameWidth),
      m_top(this, "Top", "Top"), m_bottom(this, "Bottom", "Bottom"), m_left(this, "Left", "Left"),
      m_right(this, "Right", "Right"), m_position(this, "Position", "Position"), m_format(this, "Format", "Format"),
      m_proportions(this, "Proportions", "Contrain Proportions"),
      m_gammaCorrection(this, "Gamma Correction", "Gamma correction"),
      m_gammaValue(this, "Gamma Value", "Gamma value")
{
}

Setup::Printer::~Printer() = default;

Setup::Scanner::Scanner(iType::Collection* parent)
    : Collection(parent, "Scanner", nullptr), m_twainSource(this, "TWAIN Source", "TWAIN-source")
{
}

Setup::Scanner::~Scanner() = default;

Setup::Setup() : Setup(HKEY_CURRENT_USER, "Software", "Tamrow", "SorvantaStd", "Setup")
{
}

Setup::Setup(HKEY hive, const char* software, const char* company, const char* application, const char* subkey)
    : SettingsStore(hive, software, company, application, subkey), m_printer(this), m_scanner(this)
{
    SetName("Setup");
    Clear();
}

Setup::~Setup() = default;
