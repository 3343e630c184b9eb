#include "main/screens.h"

#include "app/screen_registry.h"
#include "app/start_menu.h"
#include "lists/feditkolo.h"
#include "lists/feditthl.h"
#include "lists/fedittrat.h"
#include "lists/fedittypjizd.h"
#include "lists/fnovatrat.h"
#include "lists/fnovekolo.h"
#include "lists/fnovethl.h"
#include "lists/fnovytypjizd.h"
#include "query/fdotaz1.h"
#include "query/fdotaz2.h"
#include "query/graph_registration.h"
#include "rides/feditjizd.h"
#include "rides/fnovajizda.h"

namespace kolvio {

namespace {

template <typename Screen>
void Register(ScreenId id) {
    RegisterScreen(id, [](TForm_hl& main) -> TFZakl* { return new Screen(main); });
}

}  // namespace

void RegisterScreens() {
    Register<TFNovaJizda>(ScreenId::kNovaJizda);
    Register<TFEditJizd>(ScreenId::kEditJizd);
    Register<TFNovaTrat>(ScreenId::kNovaTrat);
    Register<TFEditTrat>(ScreenId::kEditTrat);
    Register<TFNoveKolo>(ScreenId::kNoveKolo);
    Register<TFEditKolo>(ScreenId::kEditKolo);
    Register<TFNovyTypJizd>(ScreenId::kNovyTypJizd);
    Register<TFEditTypJizd>(ScreenId::kEditTypJizd);
    Register<TFNoveTHL>(ScreenId::kNoveTHL);
    Register<TFEditthl>(ScreenId::kEditthl);
    Register<TFDotaz2>(ScreenId::kDotaz2);
    RegisterQueryBuilder([](TForm_hl& main, const QueryPreset& preset) -> TFZakl* {
        auto* builder = new TFDotaz1(main);
        builder->applyPreset(preset);
        return builder;
    });
    SetChartRegistration([] { RegisterGraphControl(); });
}

}  // namespace kolvio
