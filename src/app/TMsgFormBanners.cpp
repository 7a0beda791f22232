// The banner space: rotation of the service's banners, their pictures and their clicks.

#include "TMsgForm.h"

// Stub: banner rotation (choosing the next banner).
void TMsgForm::BannerTimerTimer() { }

// Stub: UM_BANNERCHOSEN, showing the chosen banner from the cache folder or downloading it.
void TMsgForm::BannerChosen() { }

// Stub: UM_BANNERLOADED, storing and showing a downloaded banner.
void TMsgForm::BannerLoaded() { }
