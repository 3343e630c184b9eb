#include "app/screen_registry.h"

#include <QHash>

namespace kolvio {

namespace {

QHash<QString, ScreenFactory>& Screens() {
    static QHash<QString, ScreenFactory> screens;
    return screens;
}

QueryBuilderFactory& Builder() {
    static QueryBuilderFactory builder;
    return builder;
}

}  // namespace

void RegisterScreen(const QString& className, ScreenFactory factory) {
    Screens().insert(className, std::move(factory));
}

ScreenFactory FindScreen(const QString& className) {
    return Screens().value(className);
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
