#include "lists/register_lists.h"

#include "app/screen_registry.h"
#include "lists/feditkolo.h"
#include "lists/feditthl.h"
#include "lists/fedittrat.h"
#include "lists/fedittypjizd.h"
#include "lists/fnovatrat.h"
#include "lists/fnovekolo.h"
#include "lists/fnovethl.h"
#include "lists/fnovytypjizd.h"

namespace kolvio {

namespace {

template <typename Screen>
void Register(const char* className) {
    RegisterScreen(QString::fromLatin1(className),
                   [](TForm_hl& main) -> TFZakl* { return new Screen(main); });
}

}  // namespace

void RegisterListScreens() {
    Register<TFNovaTrat>("TFNovaTrat");
    Register<TFEditTrat>("TFEditTrat");
    Register<TFNoveKolo>("TFNoveKolo");
    Register<TFEditKolo>("TFEditKolo");
    Register<TFNovyTypJizd>("TFNovyTypJizd");
    Register<TFEditTypJizd>("TFEditTypJizd");
    Register<TFNoveTHL>("TFNoveTHL");
    Register<TFEditthl>("TFEditthl");
}

}  // namespace kolvio
