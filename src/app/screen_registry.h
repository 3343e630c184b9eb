// The task screens the navigator and other screens open, by a typed name.
//
//   RegisterScreen(ScreenId::kNovaTrat, [](TForm_hl& m) { return new TFNovaTrat(m); });
//   if (ScreenFactory open = FindScreen(ScreenId::kNovaTrat)) showScreen(open(main));
//
// The composition root (src/main) registers every screen of every subsystem
// before the navigator is created; a navigator button whose screen is not
// registered is shown disabled, and a screen opens another subsystem's
// screen (the new-ride screen's side tasks) through here, never by including
// it. The query builder is registered apart: the evaluation buttons hand it
// their preset (query/query_preset.h).
#pragma once

#include <QString>
#include <QStringView>
#include <functional>

#include "query/query_preset.h"

namespace kolvio {

class TForm_hl;
class TFZakl;

// Each named after the screen's class.
enum class ScreenId {
    kNovaJizda,
    kNovaTrat,
    kNoveKolo,
    kEditKolo,
    kEditTrat,
    kNovyTypJizd,
    kEditTypJizd,
    kEditJizd,
    kNoveTHL,
    kEditthl,
    kDotaz2,
    kEnd,  // not a screen: one past the last
};

// The class name of the screen ("TFNovaTrat").
const char* ScreenClassName(ScreenId id);

using ScreenFactory = std::function<TFZakl*(TForm_hl& main)>;

using QueryBuilderFactory = std::function<TFZakl*(TForm_hl& main, const QueryPreset& preset)>;

void RegisterScreen(ScreenId id, ScreenFactory factory);
// Null when no such screen is registered.
ScreenFactory FindScreen(ScreenId id);
// The same by class name ("TFNovaTrat"); null for a name no ScreenId has.
ScreenFactory FindScreen(QStringView className);
void RegisterQueryBuilder(QueryBuilderFactory factory);
QueryBuilderFactory FindQueryBuilder();
// Forgets every registration (tests).
void ClearScreens();

}  // namespace kolvio
