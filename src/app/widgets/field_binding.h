// Controls bound to a field of a table.
//
// A binding holds the control, the field and the rules between them: it
// shows the field's value, puts the table into edit when the rider starts
// changing the control (a table handler may refuse, and the control then
// shows the field again), and writes the control's value into the field when
// the control is left. Before writing, the text must read as the field's type
// and pass the screen's validator; otherwise a warning with OK is shown, the
// focus goes back to the control and the value held before stays. Posting
// and cancelling the row are the table's: a binding only fills the field.
//
// Screens create plain Qt controls with their own names, bind them, and keep
// the bindings in a BindingGroup to apply or cancel them together.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "data/table.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace kolvio {

class FieldBinding : public QObject {
    Q_OBJECT
public:
    // Checks a value about to be written; returns empty to accept it, or the
    // Czech warning to show.
    using Validator = std::function<QString(const Value&)>;

    FieldBinding(Table& table, QString field, QWidget* control);
    ~FieldBinding() override;

    Table& table() const { return table_; }
    const QString& field() const { return field_; }
    QWidget* control() const { return control_; }
    void setValidator(Validator validator) { validator_ = std::move(validator); }

    // Writes what the control holds into the field when it differs (putting
    // the table into edit first). False when the value was refused; the
    // control then shows the field's value again.
    bool apply();
    // Shows the field's value, dropping what was typed.
    void cancel() { load(); }
    // The rider changed the control and it holds something else than the field.
    bool isModified() const;

signals:
    // The control's value went into the field ("Exit" of the control).
    void applied();

protected:
    // The value the control holds; nullopt with a message when it does not
    // read as the field's type.
    virtual std::optional<Value> controlValue(QString* error) const = 0;
    virtual void showValue(const Value& value) = 0;

    // The rider started to change the control: edit mode for the table. A
    // refusal puts the field's value back into the control.
    bool beginEdit();
    // Whether the control shows what the field holds. A value the program
    // put there is never an edit: a signal that only echoes it (a list
    // matching its shown text to an item, a pick of the same item) must not
    // put the row into edit mode.
    bool holdsFieldValue() const;
    // Shows the field's current value in the control.
    void load();
    const FieldDef* fieldDef() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onChange(DataChange change, int field);

    Table& table_;
    QString field_;
    QPointer<QWidget> control_;
    Validator validator_;
    Dataset::ObserverId observer_ = 0;
    bool busy_ = false;     // inside beginEdit/apply: our own notifications
    bool dirty_ = false;    // the rider changed the control since it was loaded
    bool leaving_ = false;  // inside the focus-out check
};

// A line edit: text fields as typed, numbers with a point, dates as d.m.yyyy.
class LineEditBinding final : public FieldBinding {
    Q_OBJECT
public:
    LineEditBinding(Table& table, QString field, QLineEdit* edit);
    // How the field's value is shown (FormatValue unless set).
    void setFormatter(std::function<QString(const Value&)> format);

protected:
    std::optional<Value> controlValue(QString* error) const override;
    void showValue(const Value& value) override;

private:
    QLineEdit* edit_;
    std::function<QString(const Value&)> format_;
};

// A check box over a logical field; a click goes into the field at once.
class CheckBoxBinding final : public FieldBinding {
    Q_OBJECT
public:
    CheckBoxBinding(Table& table, QString field, QCheckBox* box);

protected:
    std::optional<Value> controlValue(QString* error) const override;
    void showValue(const Value& value) override;

private:
    QCheckBox* box_;
};

// An editable drop-down over a text field: its items are offered, any text
// may be typed; the value goes into the field when the list is left. The
// shown value also selects its item, so that leaving the list never "picks"
// it again.
class ComboBoxBinding final : public FieldBinding {
    Q_OBJECT
public:
    ComboBoxBinding(Table& table, QString field, QComboBox* combo);

protected:
    std::optional<Value> controlValue(QString* error) const override;
    void showValue(const Value& value) override;

private:
    QComboBox* combo_;
};

class BindingGroup {
public:
    void add(FieldBinding* binding) { bindings_.append(binding); }
    // Applies every binding; stops at the first refusal.
    bool applyAll();
    void cancelAll();
    bool isModified() const;

private:
    QList<QPointer<FieldBinding>> bindings_;
};

}  // namespace kolvio
