// The main dialog driven as a user would: its controls, the target list, the
// file search, the keyboard and whole batches on a real temporary folder.
#include "app/qt/orvatch_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

#include "app/qt/about_dlg.h"
#include "app/qt/dialog_units.h"
#include "app/qt/file_picker.h"
#include "app/qt/log_edit.h"
#include "app/qt/orvatch_app.h"
#include "app/qt/target_list.h"
#include "app/qt/version_menu.h"
#include "convert/batch_converter.h"
#include "tests/support/recording_batch.h"

namespace fenmarq {
namespace {

using Answer = std::optional<QString>;

// Answers the file search in the user's place.
class ScriptedPicker final : public FilePicker {
 public:
  std::optional<QString> pickFile(QWidget* owner) override {
    owners.push_back(owner);
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<Answer> answers;
  std::vector<QWidget*> owners;
};

struct Window {
  Window() : picker(new ScriptedPicker), dialog(std::unique_ptr<FilePicker>(picker)) {}
  template <typename T = QWidget>
  T* control(const char* id) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(id));
    if (found == nullptr) qFatal("no control %s", id);
    return found;
  }
  void click(const char* id) { control<QPushButton>(id)->click(); }
  // Starts the batch and waits until it is over.
  bool convert() {
    click("IDC_START");
    return QTest::qWaitFor([&] { return !dialog.batchRunning(); }, 20000);
  }
  void addTarget(const QString& path) {
    control<QLineEdit>("IDC_SBIN")->setText(path);
    click("IDC_ADDTARGET");
  }
  QStringList entries() {
    QStringList texts;
    auto* list = control<TargetList>("IDC_TARGETLIST");
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
  }
  QStringList fields() {
    QStringList texts;
    for (const char* id :
         {"IDC_FILENAME", "IDC_KIND", "IDC_INTERVAL", "IDC_YEAR", "IDC_MONTHDAY", "IDC_STATION"}) {
      texts << control<QLineEdit>(id)->text();
    }
    return texts;
  }
  LogEdit* log() { return control<LogEdit>("IDC_LOG"); }
  void showActive() {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
  }

  ScriptedPicker* picker;  // owned by the dialog
  COrvatchDlg dialog;
};

// Runs `answer` on the modal window that the next call opens.
void answerModal(std::function<void(QWidget*)> answer) {
  QTimer::singleShot(0, [answer] { answer(QApplication::activeModalWidget()); });
}

// A fresh folder with the three output folders, current while it lives.
struct TempFolder {
  TempFolder() {
    for (const char* folder : {"HEXFiles", "CSVFiles", "CHKFiles"}) QDir(dir.path()).mkdir(folder);
    QDir::setCurrent(dir.path());
  }
  ~TempFolder() { QDir::setCurrent(previous); }
  QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }

  QString previous = QDir::currentPath();
  QTemporaryDir dir;
};

// Counts the paint events of the widget it filters.
struct PaintCounter : QObject {
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
  int count = 0;
};

}  // namespace

class OrvatchDlgTest : public QObject {
  Q_OBJECT

 private slots:
  // The controls in tab order, with their texts and places in dialog units;
  // the window starts empty and fixed in size.
  void controls() {
    struct Control {
      const char* id;
      QString text;
      QRect units;
    };
    const Control controls[] = {
        {"IDC_LOG", "", {15, 140, 301, 202}},
        {"IDC_SBIN", "", {372, 26, 110, 14}},
        {"IDC_ADDTARGET", "上のファイルを変換対象とする", {370, 47, 110, 17}},
        {"IDC_TARGETLIST", "", {370, 65, 110, 106}},
        {"IDC_DELETE", "削除", {481, 65, 22, 42}},
        {"IDC_SEARCH", "ファイル検索", {388, 7, 71, 13}},
        {"IDC_START", "変換開始", {382, 178, 84, 18}},
        {"IDC_FILENAME", "", {205, 7, 157, 14}},
        {"IDC_KIND", "", {205, 25, 28, 14}},
        {"IDC_INTERVAL", "", {234, 25, 28, 14}},
        {"IDC_YEAR", "", {265, 25, 34, 14}},
        {"IDC_MONTHDAY", "", {301, 25, 28, 14}},
        {"IDC_STATION", "", {331, 25, 32, 14}},
    };
    const QStringList statics{
        "１．右上の”ファイル検索”で変換するファイルを見つける。",
        "気象庁の風データ(バイナリデータ)を\nCSVファイルに変換します\n（エクセルで読めます。）",
        "変換後は、サブフォルダ\n\n\\CSVFiles\n\\HEXFiles\n\nに保存されます。\n\n"
        "同名ファイルは上書きされます。",
        "２．”上のファイルを変換対象とする”をクリックする。",
        "３．”変換開始”をクリックする。",
        "４．サブファルダにCSVファイルと１６進表示のテキストファイルができます。"};
    Window w;
    QCOMPARE(w.entries(), QStringList());
    QCOMPARE(w.log()->toPlainText(), QString());
    QCOMPARE(w.dialog.windowTitle(), QStringLiteral("Fenmarq"));
    const DialogUnits units(w.dialog.font());
    QCOMPARE(w.dialog.minimumSize(), units.size(510, 357));
    QCOMPARE(w.dialog.maximumSize(), units.size(510, 357));
    const Qt::WindowFlags flags = w.dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // In the middle of its screen's available area, but never over its top
    // or left edge (the offscreen screen is narrower than the window);
    // placed before it is shown, so that no guess at a frame moves it.
    const QRect available = w.dialog.screen()->availableGeometry();
    const QPoint centred(
        available.left() + std::max(0, (available.width() - w.dialog.width()) / 2),
        available.top() + std::max(0, (available.height() - w.dialog.height()) / 2));
    QCOMPARE(w.dialog.pos(), centred);
    w.showActive();
    QCOMPARE(w.dialog.pos(), centred);
    for (const Control& c : controls) {
      QWidget* widget = w.control(c.id);
      QCOMPARE(QApplication::focusWidget(), widget);
      const QRect& r = c.units;
      QCOMPARE(widget->geometry(), units.rect(r.x(), r.y(), r.width(), r.height()));
      if (auto* button = qobject_cast<QPushButton*>(widget)) QCOMPARE(button->text(), c.text);
      if (auto* field = qobject_cast<QLineEdit*>(widget)) QCOMPARE(field->text(), QString());
      QTest::keyClick(widget, Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), w.log());  // and round again
    QStringList labels;
    for (QLabel* label : w.dialog.findChildren<QLabel*>()) labels << label->text();
    QCOMPARE(labels, statics);
  }

  // Paths typed and added, then an entry selected and deleted: the path
  // field is emptied, the fields stay.
  void targetList_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("deletes");
    QTest::addColumn<QStringList>("listed");
    // The list's rules are the model's (dialog_model_test.cc); these check
    // that the window passes its commands on and shows the result.
    const QStringList abc{"a", "b", "c"};
    QTest::newRow("empty path field") << QStringList{""} << -1 << 0 << QStringList{};
    QTest::newRow("delete, no selection") << abc << -1 << 1 << abc;
    QTest::newRow("delete middle entry") << abc << 1 << 1 << QStringList{"a", "c"};
  }
  void targetList() {
    QFETCH(QStringList, typed);
    QFETCH(int, selected);
    QFETCH(int, deletes);
    QFETCH(QStringList, listed);
    Window w;
    w.dialog.showFields(DialogModel::fieldsOf("sfc_10sec_20120601.47662"));
    const QStringList fieldsBefore = w.fields();
    for (const QString& path : typed) w.addTarget(path);
    if (selected >= 0) w.control<TargetList>("IDC_TARGETLIST")->setCurrentRow(selected);
    for (int i = 0; i < deletes; ++i) w.click("IDC_DELETE");
    QCOMPARE(w.entries(), listed);
    QCOMPARE(w.control<QLineEdit>("IDC_SBIN")->text(), QString());
    QCOMPARE(w.fields(), fieldsBefore);
  }

  void fileSearch_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("fields");
    const QString first = QStringLiteral("/obs/amd_1min_20160412.62078");
    QTest::newRow("cancelled changes nothing")
        << Answer() << first
        << QStringList{"amd_1min_20160412.62078", "amd", "1min", "2016", "0412", "62078"};
    QTest::newRow("readme.txt") << Answer(QStringLiteral("/obs/readme.txt"))
                                << QStringLiteral("/obs/readme.txt")
                                << QStringList{"readme.txt", "", "", "", "", ""};
  }
  void fileSearch() {
    QFETCH(Answer, answer);
    QFETCH(QString, path);
    QFETCH(QStringList, fields);
    Window w;
    w.picker->answers = {QStringLiteral("/obs/amd_1min_20160412.62078"), answer};
    w.click("IDC_SEARCH");
    w.click("IDC_SEARCH");
    QCOMPARE(w.control<QLineEdit>("IDC_SBIN")->text(), QDir::toNativeSeparators(path));
    QCOMPARE(w.fields(), fields);
    QCOMPARE(w.entries(), QStringList());
    QCOMPARE(w.picker->owners, std::vector<QWidget*>(2, &w.dialog));
  }

  // Entries that a user can tell apart: a long one scrolls the list sideways
  // and shows its full path as a tooltip; Delete deletes the selected one.
  void longEntriesScrollAndDeleteWithTheKey() {
    Window w;
    w.showActive();
    const QString longPath = QStringLiteral("/observations/") + QString(120, QChar(u'x')) +
                             QStringLiteral("/sfc_10sec_20160412.47662");
    w.addTarget(QStringLiteral("/d/amd_1min_20160412.62078"));
    w.addTarget(longPath);
    auto* list = w.control<TargetList>("IDC_TARGETLIST");
    QCOMPARE(list->item(1)->toolTip(), longPath);
    QTRY_VERIFY(list->horizontalScrollBar()->maximum() > 0);
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(w.entries(), QStringList{longPath});
  }

  // The file dialog speaks Japanese, and opens where the last file was
  // picked.
  void fileDialogInJapaneseRemembersItsFolder() {
    QTranslator japanese;
    QVERIFY(installJapaneseQtTexts(japanese));
    TempFolder folder;
    QDir(folder.dir.path()).mkdir(QStringLiteral("obs"));
    const QString picked = folder.file(QStringLiteral("obs/amd_1min_20160412.62078"));
    QFile(picked).open(QIODevice::WriteOnly);
    const std::unique_ptr<FilePicker> picker = makeOpenFileDialog();
    QString cancelText, secondFolder;
    answerModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      cancelText = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
      dialog->selectFile(picked);
      QMetaObject::invokeMethod(dialog, &QDialog::accept);
    });
    QCOMPARE(picker->pickFile(nullptr), std::optional<QString>(picked));
    answerModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      secondFolder = dialog->directory().absolutePath();
      dialog->reject();
    });
    QCOMPARE(picker->pickFile(nullptr), std::nullopt);
    QCoreApplication::removeTranslator(&japanese);
    QCOMPARE(cancelText, QStringLiteral("キャンセル"));
    QCOMPARE(secondFolder, QFileInfo(picked).absolutePath());
  }

  void fileSearchListsEveryFile() {
    QFileDialog dialog;
    setUpFileSearch(dialog);
    dialog.show();
    QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText(),
             QStringLiteral("All files (*.*) "));
    const QStringList patterns = dialog.findChild<QFileSystemModel*>()->nameFilters();
    for (const char* name : {"amd_1min_20160412.62078", "readme.txt", "README"}) {
      QVERIFY2(QDir::match(patterns, QString::fromLatin1(name)), name);
    }
  }

  void batchLogsEveryStepInTheStartDirectoryAndRepaints() {
    TempFolder folder;
    const QString input = folder.file(QStringLiteral("amd_1min_20160412.62078"));
    {
      QFile file(input);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(QByteArray(171 * 1440, '\0'));
    }
    Window w;
    w.showActive();
    QTest::qWait(50);                   // let the first paint through
    QDir::setCurrent(folder.previous);  // the start directory was taken at construction
    // An empty list logs the batch end alone.
    QVERIFY(w.convert());
    QCOMPARE(w.log()->toPlainText(), QStringLiteral("\n作業終了。\n"));
    w.addTarget(input);
    w.addTarget(QStringLiteral("notes.txt"));
    QVERIFY(w.convert());

    QVERIFY(QFile::exists(folder.file(QStringLiteral("CSVFiles/CSV_amd_1min_20160412.62078.CSV"))));
    // The same batch on a recording log: the window shows every text as the
    // pane's display rule says.
    testing::RecordingLog reference;
    testing::RecordingView view;
    BatchConverter().run({input.toStdString(), "notes.txt"}, folder.dir.path().toStdString(),
                         reference, view);
    QCOMPARE(reference.texts.at(1), input.toStdString());
    const QString shown = editControlText(reference.joined());
    QVERIFY(
        shown.contains(QStringLiteral("amd 1min （2008 年 11 月 18 日以降）ファイル変換 終了。")));
    QCOMPARE(w.log()->toPlainText(), QStringLiteral("\n作業終了。\n") + shown);
    QVERIFY(w.control<TargetList>("IDC_TARGETLIST")->item(1)->isSelected());
    QCOMPARE(w.fields(), (QStringList{"notes.txt", "", "", "", "", ""}));

    // A second batch appends below the first; the log is repainted while it
    // runs.
    PaintCounter paints;
    w.log()->viewport()->installEventFilter(&paints);
    QVERIFY(w.convert());
    QVERIFY(paints.count > 0);
    QCOMPARE(w.log()->toPlainText(), QStringLiteral("\n作業終了。\n") + shown + shown);

    w.click("IDC_DELETE");  // the entry the batch selected last
    QCOMPARE(w.entries(), QStringList{input});
  }

  // Each input once outside a batch, where it takes effect, and once while a
  // batch runs, where it has none, then or afterwards: the controls are
  // disabled, the log takes no keys, Esc, the close box and the version item
  // do nothing. The title counts the entries and is the program's name again
  // at the end.
  void inputDuringABatchHasNoEffect_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("during");
    for (const char* input : {"delete", "type path", "type log", "esc", "close", "version"}) {
      QTest::addRow("%s outside", input) << QString::fromLatin1(input) << false;
      QTest::addRow("%s during", input) << QString::fromLatin1(input) << true;
    }
  }
  void inputDuringABatchHasNoEffect() {
    QFETCH(QString, input);
    QFETCH(bool, during);
    TempFolder folder;
    Window w;
    w.showActive();
    QDir::setCurrent(folder.previous);
    const QStringList listed{"readme.txt", "notes.txt"};
    for (const QString& entry : listed) w.addTarget(entry);
    w.control<TargetList>("IDC_TARGETLIST")->setCurrentRow(0);
    QStringList titles;
    QObject::connect(&w.dialog, &QWidget::windowTitleChanged,
                     [&](const QString& title) { titles << title; });
    bool versionShown = false;
    if (during) {
      w.click("IDC_START");
      // The batch cannot end before this thread has served it.
      QVERIFY(w.dialog.batchRunning());
    }
    if (input == "delete") QTest::mouseClick(w.control("IDC_DELETE"), Qt::LeftButton);
    if (input == "type path") QTest::keyClicks(w.control("IDC_SBIN"), QStringLiteral("typed"));
    if (input == "type log") QTest::keyClicks(w.log(), QStringLiteral("ZQ"));
    if (input == "esc") QTest::keyClick(&w.dialog, Qt::Key_Escape);
    if (input == "close") w.dialog.close();
    if (input == "version") {
      answerModal([&](QWidget* modal) {
        versionShown = qobject_cast<CAboutDlg*>(modal) != nullptr;
        if (modal != nullptr) modal->close();
      });
      w.dialog.actions().front()->trigger();
    }
    QVERIFY(QTest::qWaitFor([&] { return !w.dialog.batchRunning(); }, 20000));
    QTest::qWait(50);

    const bool effect = !during;
    QCOMPARE(w.entries().size(), listed.size() - (effect && input == "delete"));
    QCOMPARE(w.control<QLineEdit>("IDC_SBIN")->text(),
             effect && input == "type path" ? QStringLiteral("typed") : QString());
    QCOMPARE(w.dialog.isVisible(), !(effect && (input == "esc" || input == "close")));
    QCOMPARE(versionShown, effect && input == "version");
    if (!during) {
      QCOMPARE(w.log()->toPlainText(), input == "type log" ? QStringLiteral("ZQ") : QString());
      return;
    }
    testing::RecordingLog reference;
    testing::RecordingView view;
    BatchConverter().run({"readme.txt", "notes.txt"}, folder.dir.path().toStdString(), reference,
                         view);
    QCOMPARE(w.log()->toPlainText(), editControlText(reference.joined()));
    QVERIFY(w.control("IDC_DELETE")->isEnabled());
    QVERIFY(!w.log()->isReadOnly());
    QCOMPARE(titles.mid(titles.size() - 2), (QStringList{"Fenmarq – 2 / 2", "Fenmarq"}));
  }

  // After a batch the focus is where it was when the batch began, so that
  // the keyboard acts at once: Esc ends the window, Tab moves on, Enter
  // presses 変換開始 again.
  void keysActAfterABatch_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Esc") << int{Qt::Key_Escape};
    QTest::newRow("Tab") << int{Qt::Key_Tab};
    QTest::newRow("Enter") << int{Qt::Key_Return};
  }
  void keysActAfterABatch() {
    QFETCH(int, key);
    TempFolder folder;
    Window w;
    w.showActive();
    QDir::setCurrent(folder.previous);
    w.addTarget("readme.txt");
    QWidget* start = w.control("IDC_START");
    start->setFocus();
    QVERIFY(w.convert());
    QCOMPARE(QApplication::focusWidget(), start);
    QTest::keyClick(start, Qt::Key(key));
    QCOMPARE(w.dialog.isVisible(), key != Qt::Key_Escape);
    if (key == Qt::Key_Tab) QVERIFY(QApplication::focusWidget() != start);
    QCOMPARE(w.dialog.batchRunning(), key == Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&] { return !w.dialog.batchRunning(); }, 20000));
  }

  void keys_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("entries");
    QTest::newRow("Enter in the path field") << "IDC_SBIN" << int{Qt::Key_Return} << true << 0;
    QTest::newRow("Enter in a field") << "IDC_STATION" << int{Qt::Key_Enter} << true << 0;
    QTest::newRow("Enter in the list") << "IDC_TARGETLIST" << int{Qt::Key_Return} << true << 0;
    QTest::newRow("Enter on a button") << "IDC_ADDTARGET" << int{Qt::Key_Return} << true << 1;
    QTest::newRow("Esc ends the window") << "IDC_SBIN" << int{Qt::Key_Escape} << false << 0;
  }
  void keys() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, open);
    QFETCH(int, entries);
    Window w;
    w.showActive();
    w.control<QLineEdit>("IDC_SBIN")->setText(QStringLiteral("/d/amd_1min_20160412.62078"));
    QWidget* target = w.control(focus.toLatin1().constData());
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(w.dialog.isVisible(), open);
    QCOMPARE(w.dialog.result(), int{QDialog::Rejected});  // never accepted
    QCOMPARE(w.entries().size(), qsizetype{entries});
  }

  void messageBoxHasTheProgramNameAndOneOkButton() {
    Window w;
    bool answered = false;
    answerModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box != nullptr);
      QCOMPARE(box->windowTitle(), QStringLiteral("orvatch_dlg_test"));
      QCOMPARE(box->text(), QStringLiteral("ファイル 'csv-data' は閉じられませんでした。\n"));
      QCOMPARE(box->icon(), QMessageBox::NoIcon);
      QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
      box->button(QMessageBox::Ok)->click();
      answered = true;
    });
    w.dialog.showMessageBox("ファイル 'csv-data' は閉じられませんでした。\n");
    QVERIFY(answered);
  }

  void versionDialogFromTheContextMenu() {
#ifdef Q_OS_WIN
    QSKIP("the item is in the system menu on Windows");
#endif
    Window w;
    QCOMPARE(w.dialog.contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(w.dialog.actions().size(), qsizetype{1});
    QAction* item = w.dialog.actions().front();
    QCOMPARE(item->text(), QString::fromUtf8(kVersionMenuText));
    bool answered = false;
    answerModal([&](QWidget* modal) {
      QVERIFY(qobject_cast<CAboutDlg*>(modal) != nullptr);
      QCOMPARE(modal->windowTitle(), QStringLiteral("Orvatchのﾊﾞｰｼﾞｮﾝ情報"));
      QStringList lines;
      for (QLabel* label : modal->findChildren<QLabel*>()) lines << label->text();
      QCOMPARE(lines, (QStringList{"", "Orvatch Version 1.0", "Fenmarq " FENMARQ_VERSION}));
      modal->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
      answered = true;
    });
    item->trigger();
    QVERIFY(answered);
  }

  void droppedFilesAreAppendedInDropOrder() {
    Window w;
    w.addTarget(QStringLiteral("/d/first"));
    w.control<QLineEdit>("IDC_SBIN")->setText(QStringLiteral("typed"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/d/sfc_1min_20160412.47662")),
                  QUrl(QStringLiteral("https://example.org/x")),
                  QUrl::fromLocalFile(QStringLiteral("/d/amd_1min_20160412.62078"))});
    QWidget* viewport = w.control<TargetList>("IDC_TARGETLIST")->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    QCOMPARE(w.entries(),
             (QStringList{"/d/first", "/d/sfc_1min_20160412.47662", "/d/amd_1min_20160412.62078"}));
    QCOMPARE(w.control<QLineEdit>("IDC_SBIN")->text(), QStringLiteral("typed"));
  }
};

}  // namespace fenmarq

QTEST_MAIN(fenmarq::OrvatchDlgTest)
#include "orvatch_dlg_test.moc"
