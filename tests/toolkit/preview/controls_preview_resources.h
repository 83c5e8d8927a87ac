// Ids of the controls preview's resources (controls_preview.rc).
#pragma once

#define IDR_PREVIEW_FRAME 7600
#define ID_PREVIEW_OPEN 7601
#define ID_PREVIEW_SAVE 7602
#define ID_PREVIEW_PRINT 7603
#define ID_PREVIEW_COPY 7604
#define ID_PREVIEW_PASTE 7605
#define ID_PREVIEW_ZOOM_IN 7606
#define ID_PREVIEW_ZOOM_OUT 7607
