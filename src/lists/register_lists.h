// Makes the screens of the reference lists known to the navigator.
#pragma once

namespace kolvio {

// Registers TFNovaTrat, TFEditTrat, TFNoveKolo, TFEditKolo, TFNovyTypJizd,
// TFEditTypJizd, TFNoveTHL and TFEditthl. Call before the navigator is
// created: it enables a button only when its screen is registered.
void RegisterListScreens();

}  // namespace kolvio
