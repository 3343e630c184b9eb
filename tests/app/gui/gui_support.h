// Helpers of the screen tests: a scripted message responder, a scripted
// directory chooser, a private KOLVIO_HOME, and reading tables on disk.
#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "app/directory_chooser.h"
#include "app/message_service.h"
#include "data/table.h"

namespace kolvio::testing {

// Answers messages in the order they are expected, checking each text and
// kind. Anything unexpected is recorded as a failure (and answered No/OK),
// so that a test fails in verifyDone() instead of hanging on a dialog.
class ScriptedMessages final : public MessageService {
public:
    struct Expected {
        QString text;
        MsgKind kind;
        MsgResult answer;
    };

    ScriptedMessages() { previous_ = SetMessageService(this); }
    ~ScriptedMessages() override { SetMessageService(previous_); }

    void expect(const QString& text, MsgKind kind, MsgResult answer = MsgResult::kOk) {
        queue_.append({text, kind, answer});
    }
    MsgResult show(const Message& m) override {
        shown.append(m);
        if (queue_.isEmpty()) {
            failures.append(QStringLiteral("unexpected message: ") + m.text);
            return m.buttons == MsgButtons::kYesNo ? MsgResult::kNo : MsgResult::kOk;
        }
        const Expected e = queue_.takeFirst();
        // A text ending in "*" is a prefix (messages of the store name files).
        const bool textOk =
            e.text.endsWith(u'*') ? m.text.startsWith(e.text.chopped(1)) : m.text == e.text;
        if (!textOk || e.kind != m.kind) {
            failures.append(QStringLiteral("expected \"%1\" (kind %2), got \"%3\" (kind %4)")
                                .arg(e.text)
                                .arg(static_cast<int>(e.kind))
                                .arg(m.text)
                                .arg(static_cast<int>(m.kind)));
        }
        return e.answer;
    }
    // Failures so far, plus messages expected but never shown.
    QString problems() const {
        QStringList all = failures;
        for (const Expected& e : queue_)
            all.append(QStringLiteral("not shown: ") + e.text);
        return all.join(u'\n');
    }

    QList<Message> shown;
    QStringList failures;

private:
    QList<Expected> queue_;
    MessageService* previous_;
};

// Gives the scripted directories in turn; nullopt (cancel) when none is left.
class ScriptedDirectories final : public DirectoryChooser {
public:
    ScriptedDirectories() { previous_ = SetDirectoryChooser(this); }
    ~ScriptedDirectories() override { SetDirectoryChooser(previous_); }

    void answer(std::optional<QString> dir) { answers_.append(dir); }
    std::optional<QString> choose(QWidget*, const QString&, const QString& startDir,
                                  TypedDirectory typed) override {
        startDirs.append(startDir);
        typedRules.append(typed);
        if (answers_.isEmpty()) return std::nullopt;
        return answers_.takeFirst();
    }

    QStringList startDirs;
    QList<TypedDirectory> typedRules;

private:
    QList<std::optional<QString>> answers_;
    DirectoryChooser* previous_;
};

// A private program folder: KOLVIO_HOME points to a fresh temporary folder.
class TempHome {
public:
    TempHome() { qputenv("KOLVIO_HOME", dir_.path().toLocal8Bit()); }
    ~TempHome() { qunsetenv("KOLVIO_HOME"); }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return QDir(dir_.path()).filePath(name); }
    QString ini() const { return file(QStringLiteral("kolvio.ini")); }

private:
    QTemporaryDir dir_;
};

// Opens a table of `dir` read-only for checks; every row is visited.
struct TableRows {
    TableRows(const QString& dir, const QString& file)
        : table(dir.toStdString(), file.toStdString()) {
        opened = table.open().ok();
    }
    int64_t count() { return opened ? table.recordCount() : -1; }
    QStringList column(const char* field) {
        QStringList out;
        if (!opened) return out;
        for (Status st = table.first(); st.ok() && !table.eof(); st = table.next()) {
            const Value v = table.value(field);
            out.append(v.isText() ? QString::fromStdString(v.asText())
                                  : QString::number(v.asDouble()));
        }
        return out;
    }
    Table table;
    bool opened = false;
};

// Clicks a check box on its box (the middle of a wide one is empty space).
inline void ClickCheckBox(QWidget* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

inline QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

}  // namespace kolvio::testing
