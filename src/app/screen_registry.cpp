#include "app/screen_registry.h"

#include <QHash>

namespace kolvio {

namespace {

QHash<ScreenId, ScreenFactory>& Screens() {
    static QHash<ScreenId, ScreenFactory> screens;
    return screens;
}

QueryBuilderFactory& Builder() {
    static QueryBuilderFactory builder;
    return builder;
}

}  // namespace

const char* ScreenClassName(ScreenId id) {
    switch (id) {
        case ScreenId::kNovaJizda:
            return "TFNovaJizda";
        case ScreenId::kNovaTrat:
            return "TFNovaTrat";
        case ScreenId::kNoveKolo:
            return "TFNoveKolo";
        case ScreenId::kEditKolo:
            return "TFEditKolo";
        case ScreenId::kEditTrat:
            return "TFEditTrat";
        case ScreenId::kNovyTypJizd:
            return "TFNovyTypJizd";
        case ScreenId::kEditTypJizd:
            return "TFEditTypJizd";
        case ScreenId::kEditJizd:
            return "TFEditJizd";
        case ScreenId::kNoveTHL:
            return "TFNoveTHL";
        case ScreenId::kEditthl:
            return "TFEditthl";
        case ScreenId::kDotaz2:
            return "TFDotaz2";
        case ScreenId::kEnd:
            break;
    }
    return "";
}

void RegisterScreen(ScreenId id, ScreenFactory factory) {
    Screens().insert(id, std::move(factory));
}

ScreenFactory FindScreen(ScreenId id) {
    return Screens().value(id);
}

ScreenFactory FindScreen(QStringView className) {
    for (int i = 0; i < static_cast<int>(ScreenId::kEnd); ++i) {
        const auto id = static_cast<ScreenId>(i);
        if (className == QLatin1String(ScreenClassName(id))) return FindScreen(id);
    }
    return nullptr;
}

void RegisterQueryBuilder(QueryBuilderFactory factory) {
    Builder() = std::move(factory);
}

QueryBuilderFactory FindQueryBuilder() {
    return Builder();
}

void ClearScreens() {
    Screens().clear();
    Builder() = nullptr;
}

}  // namespace kolvio
