// The pieces the query builder's pages are made of: the "Použít" box that
// keeps a page's condition fragment, the "výběr ANO"/"výběr NE" choice, the
// lists of chosen codes, and the "Exit" checks of number fields.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QRadioButton;

namespace kolvio {

// Names a control and gives it its hint (tooltip and status-bar text).
template <typename W>
W* Control(W* widget, const char* name, const QString& hint = {}) {
    widget->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) {
        widget->setToolTip(hint);
        widget->setStatusTip(hint);
    }
    return widget;
}

// A page's condition: ticking "Použít" builds the fragment from the page's
// inputs of that moment, unticking drops it, and any change of an input
// (invalidate) drops it and unticks the box. So the fragment always says
// what the inputs said when the box was ticked.
class Criterion final : public QObject {
    Q_OBJECT
public:
    // Builds the fragment; false leaves the box unticked (nothing to use).
    using Build = std::function<bool(std::string* fragment)>;

    Criterion(QCheckBox* use, std::string* fragment, Build build);

    QCheckBox* box() const { return use_; }
    bool ticked() const;
    // An input of the page changed.
    void invalidate();
    // Unticks the box (and drops the fragment), as the rider would.
    void untick() { invalidate(); }

private:
    void toggled(bool on);

    QCheckBox* use_;
    std::string* fragment_;
    Build build_;
};

// "výběr ANO" (default) and "výběr NE".
class YesNoChoice final : public QWidget {
    Q_OBJECT
public:
    explicit YesNoChoice(QWidget* parent);
    bool negate() const;

    QRadioButton *Ano, *Ne;

signals:
    void changed();
};

// A list of chosen reference rows: the code in the first column, names in
// the others. A code is never listed twice.
class ChosenList final : public QTreeWidget {
    Q_OBJECT
public:
    ChosenList(const QStringList& columns, QWidget* parent);

    // False (and nothing added) when the code is listed already.
    bool add(int64_t code, const QStringList& names);
    // Removes the selected row (the first of several); false when none is.
    bool removeSelected();
    std::vector<int64_t> codes() const;

signals:
    void rowsChanged();
};

// Runs a check whenever a control loses the focus to another control of the
// program (not to its own drop-down list, not to another program). Keep it
// as a member of the screen: the checks go before the controls do.
class ExitChecks {
public:
    ExitChecks() = default;
    ~ExitChecks();
    ExitChecks(const ExitChecks&) = delete;
    ExitChecks& operator=(const ExitChecks&) = delete;

    void on(QWidget* control, std::function<void()> check);

private:
    std::vector<QPointer<QObject>> filters_;
};

// Gives `control` the focus back once the current focus change is over.
void FocusBackLater(QWidget* control);

}  // namespace kolvio
