// The library's paint device context: BeginPaint on construction, EndPaint on destruction.
#pragma once

#include "framework/Framework.h"

class iPaintDC : public CPaintDC {
public:
    explicit iPaintDC(CWnd* window);
    ~iPaintDC() override;
};
