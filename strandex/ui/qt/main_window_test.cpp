// The Qt front end under the offscreen platform: menu IDs and states, dialogs built from their
// templates, double-click, tab change, the Find results window and a failed Open.
#include "strandex/ui/qt/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QWheelEvent>
#include <functional>
#include <string>
#include <vector>

#include "common/testing/temp_folder.h"
#include "strandex/ui/qt/find_results_window.h"
#include "strandex/ui/qt/template_dialog.h"
#include "tdb/testing/database_fixture.h"

namespace ui {
namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "strandex_qt_test";
    static char* argv[] = {name, nullptr};
    app = new QApplication(argc, argv);
  }
  void TearDown() override { delete app; }
  QApplication* app = nullptr;
};
::testing::Environment* const qt_environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Runs answer on the next modal window (a dialog or a message box) once it is shown.
void AnswerModal(std::function<void(QWidget*)> answer, int tries = 200) {
  QTimer::singleShot(10, [answer, tries] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      answer(modal);
    } else if (tries > 0) {
      AnswerModal(answer, tries - 1);
    }
  });
}

void ClickControl(QWidget* dialog, int id) {
  auto* button = qobject_cast<QAbstractButton*>(FindControl(dialog, id));
  ASSERT_NE(button, nullptr) << id;
  button->click();
}

void SetControlText(QWidget* dialog, int id, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(FindControl(dialog, id));
  ASSERT_NE(edit, nullptr) << id;
  edit->setText(text);
}

// A double-click as a person makes it: a click, then the second press.
void DoubleClick(QTreeView* view, int row) {
  QPoint point = view->visualRect(view->model()->index(row, 0)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
  QTest::mousePress(view->viewport(), Qt::LeftButton, {}, point);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, point);
  QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, point);
}

class MainWindowTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    TranslateDBClass::Initialize();
    // The user's settings start empty in every test.
    qputenv("XDG_CONFIG_HOME", QByteArray(folder.path().c_str()));
    window = new MainWindow;
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  }
  void TearDown() override {
    delete window;
    DatabaseTest::TearDown();
  }
  QString ListCell(int row, int column) {
    return window->List()->model()->index(row, column).data().toString();
  }
  // Saves the database to a file and opens it in the window.
  void OpenSaved() {
    const std::string path = folder / "saved.tdb";
    ASSERT_TRUE(SaveDatabaseFile(path.c_str(), nullptr));
    window->Editor().OpenPath(path.c_str());
  }
  // Runs Find by ID for text.
  void FindID(const QString& text) {
    AnswerModal([text](QWidget* dialog) {
      SetControlText(dialog, kFindText, text);
      ClickControl(dialog, kButtonOk);
    });
    window->Action(kCmdFindID)->trigger();
  }

  TempFolder folder;
  MainWindow* window = nullptr;
};

TEST_F(MainWindowTest, MenuItemsCarryTheirCommandIDsAndStartingStates) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Advanced string editor"));
  EXPECT_EQ(window->size(), QSize(800, 600));
  // Each popup with the caption and command ID of its items, "off" where grayed; "-" is a separator.
  QString menu;
  for (QAction* popup : window->menuBar()->actions()) {
    menu += (menu.isEmpty() ? "" : "\n") + popup->text() + ":";
    for (QAction* item : popup->menu()->actions()) {
      if (!item->isVisible()) continue;
      QString text =
          item->isSeparator() ? "-" : item->text() + " " + item->property(kCommandIdProperty).toString();
      menu += " " + text + (item->isEnabled() ? "," : " off,");
    }
  }
  EXPECT_EQ(
      menu,
      "File: New 40020, Open 40021, Close 40038, Save 40023, Save as 40024, Export C Header "
      "40046 off, Import Table 40056, Export Table 40055 off, -, Exit 40025,\nSearch: Goto 40026, Find by "
      "ID 40031, Find by string 40030, Find by english string 40029,\nEdit: Add String 40051, Remove "
      "String 40052, Add Category 40053, Remove Category 40054, -, Replace\u2026 40114,\nView: Translation "
      "language: None 40100, "
      "Translation language: 1 40101, Translation language: 2 40102, Translation language: 3 40103, "
      "Translation language: 4 40104, Translation language: 5 40105, Translation language: 6 40106, -, "
      "Only untranslated 40110 off, Filter bar 40112,");
  EXPECT_EQ(window->Tabs()->count(), 1);
  EXPECT_EQ(window->Tabs()->tabText(0), QStringLiteral("Default"));
  QString headers;
  for (int i = 0; i < 4; ++i) {
    headers += QStringLiteral("%1 %2|")
                   .arg(window->List()->model()->headerData(i, Qt::Horizontal).toString())
                   .arg(window->List()->header()->sectionSize(i));
  }
  EXPECT_EQ(headers, "ID (string) 200|ID (numeric) 100|Sound ID 100|English text 450|");
}

TEST_F(MainWindowTest, DialogsAreLaidOutInDialogUnitsOfTheirFont) {
  // At a font whose average character is 7 by 13 pixels, x units are 7/4 and y units 13/8
  // pixels: Edit String's "Text" field at 42,78 300x42 lies at 73,126 525x68.
  QDialog dialog;
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  dialog.setFont(font);
  ASSERT_EQ(QFontMetrics(font).height(), 13);
  BuildDialog(&dialog, *FindDialogTemplate(kEditStringDialog));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit String"));
  EXPECT_EQ(dialog.size(), QSize(605, 232));
  EXPECT_EQ(FindControl(&dialog, kEditText)->geometry(), QRect(73, 126, 525, 68));
  EXPECT_EQ(FindControl(&dialog, kIDCancel)->geometry(), QRect(105, 204, 87, 22));
  // Every label shows its whole text and names its field.
  for (int id = kGotoDialog; id <= kReplaceDialog; ++id) {
    QDialog each;
    BuildDialog(&each, *FindDialogTemplate(id));
    for (QLabel* label : each.findChildren<QLabel*>()) {
      EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
      ASSERT_NE(label->buddy(), nullptr) << label->text().toStdString();
      EXPECT_EQ(label->buddy()->accessibleName(), label->text());
    }
  }
}

TEST_F(MainWindowTest, FindResultsWindowListsHitsAndShowsTheChosenString) {
  for (int i = 0; i < 200; ++i)
    TranslateDBClass::AddObject(NewString(1000 + i, i % 2 ? "ODD" : "EVEN", u"t"));
  FindID(QStringLiteral("odd"));
  FindResultsWindow* results = window->FindResults();
  ASSERT_NE(results, nullptr);
  EXPECT_TRUE(results->isVisible());
  EXPECT_FALSE(results->isModal());
  QAbstractItemModel* model = results->List()->model();
  ASSERT_EQ(model->rowCount(), 100);
  EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("English text"));
  EXPECT_EQ(model->index(1, 1).data().toString(), QStringLiteral("1003"));

  // A double-click on a result selects its row in the main list, scrolled into view.
  DoubleClick(results->List(), 1);
  QModelIndex current = window->List()->currentIndex();
  ASSERT_TRUE(current.isValid());
  EXPECT_EQ(ListCell(current.row(), 1), QStringLiteral("1003"));
  EXPECT_TRUE(window->List()->selectionModel()->isRowSelected(current.row(), QModelIndex()));
  EXPECT_TRUE(window->List()->viewport()->rect().intersects(window->List()->visualRect(current)));

  // Grid lines: the bottom edge of a cell differs from the blank right end of its row.
  QImage image = results->List()->viewport()->grab().toImage();
  QRect cell = results->List()->visualRect(model->index(0, 0));
  EXPECT_NE(image.pixelColor(cell.right() - 3, cell.bottom()),
            image.pixelColor(cell.right() - 3, cell.center().y()));

  // A key released in the window is traced with the key message's two parameters.
  static QStringList trace;
  QLoggingCategory::setFilterRules(QStringLiteral("strandex.debug.debug=true"));
  QtMessageHandler previous = qInstallMessageHandler(
      [](QtMsgType, const QMessageLogContext&, const QString& text) { trace << text; });
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 38, 0x41, 0, QStringLiteral("a"));
  QApplication::sendEvent(results, &release);
  qInstallMessageHandler(previous);
  QLoggingCategory::setFilterRules(QString());
  EXPECT_EQ(trace, QStringList{"-- 65- -1071251455\n"});

  // "Close" closes the window; a new search opens a new one, whose close box closes it.
  QPointer<FindResultsWindow> closed = results;
  ClickControl(results, kResultsClose);
  QApplication::processEvents();
  EXPECT_TRUE(!closed || !closed->isVisible());
  EXPECT_EQ(window->FindResults(), nullptr);
  EXPECT_FALSE(window->Editor().Results().IsOpen());
  FindID(QStringLiteral("even"));
  results = window->FindResults();
  ASSERT_NE(results, nullptr);
  EXPECT_TRUE(results->close());
  QApplication::processEvents();
  EXPECT_EQ(window->FindResults(), nullptr);
  EXPECT_FALSE(window->Editor().Results().IsOpen());
}

TEST_F(MainWindowTest, ARowOfManyTabsScrollsThemIntoViewAndChoosesByClickAndKeys) {
  for (int c = 2; c <= 2000; ++c) TranslateDBClass::AddCategoryNamed(("C & " + std::to_string(c)).c_str());
  TranslateDBClass::AddObject(NewString(1000, "IDS_FIRST"));
  TranslateDBClass::AddObject(NewString(1001, "IDS_LAST", u"", 2000));
  OpenSaved();
  TabRow* tabs = window->Tabs();
  ASSERT_EQ(tabs->count(), 2000);
  EXPECT_EQ(tabs->tabText(1999), QStringLiteral("C & 2000"));
  EXPECT_TRUE(tabs->tabRect(1999).isEmpty());
  EXPECT_EQ(window->List()->model()->rowCount(), 0);
  // A click on the selected tab shows its list.
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
  EXPECT_EQ(ListCell(0, 0), QStringLiteral("IDS_FIRST"));

  // Goto selects the last tab and scrolls it to the right end, before the arrow buttons.
  AnswerModal([](QWidget* dialog) {
    SetControlText(dialog, kGotoNumber, QStringLiteral("1001"));
    ClickControl(dialog, kGotoIDRadio);
    ClickControl(dialog, kButtonOk);
  });
  window->Action(kCmdGoto)->trigger();
  EXPECT_EQ(tabs->currentIndex(), 1999);
  EXPECT_EQ(ListCell(0, 0), QStringLiteral("IDS_LAST"));
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(tabs);
  EXPECT_EQ(accessible->role(), QAccessible::PageTabList);
  EXPECT_EQ(accessible->text(QAccessible::Name) + "|" + accessible->text(QAccessible::Value),
            QStringLiteral("Categories|C & 2000"));
  QToolButton* back = tabs->findChildren<QToolButton*>().value(0);
  ASSERT_TRUE(back && back->isVisible() && back->arrowType() == Qt::LeftArrow);
  const QRect last = tabs->tabRect(1999);
  ASSERT_FALSE(last.isEmpty());
  EXPECT_LE(last.right(), back->x());
  EXPECT_GT(last.right() + last.width(), back->x());
  // The arrow button and the wheel scroll by whole tabs and choose nothing.
  const int shown = tabs->FirstShown();
  QTest::mouseClick(back, Qt::LeftButton);
  QWheelEvent wheel(QPointF(5, 5), tabs->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 240), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(tabs, &wheel);
  EXPECT_EQ(tabs->FirstShown(), shown - 3);
  EXPECT_EQ(tabs->currentIndex(), 1999);
  // Home, Right and End choose tabs and bring them into view.
  QTest::keyClick(tabs, Qt::Key_Home);
  EXPECT_EQ(tabs->FirstShown(), 0);
  EXPECT_EQ(ListCell(0, 0), QStringLiteral("IDS_FIRST"));
  QTest::keyClick(tabs, Qt::Key_Right);
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(window->List()->model()->rowCount(), 0);
  QTest::keyClick(tabs, Qt::Key_End);
  EXPECT_EQ(tabs->FirstShown(), shown);
  EXPECT_EQ(ListCell(0, 0), QStringLiteral("IDS_LAST"));

  // For assistive technology each tab is a page tab, made when first asked for and then kept,
  // whose press action chooses it as a click does. (The events that choosing sends reach no one
  // under the offscreen platform, which has no accessibility of its own.)
  ASSERT_EQ(accessible->childCount(), 2000);
  QAccessibleInterface* first = accessible->child(0);
  QAccessibleInterface* chosen = accessible->child(1999);
  QAccessibleInterface* before = accessible->child(1998);
  ASSERT_TRUE(first && chosen && before);
  EXPECT_EQ(accessible->child(1998), before);
  EXPECT_EQ(accessible->indexOfChild(before), 1998);
  EXPECT_EQ(before->parent(), accessible);
  EXPECT_EQ(before->role(), QAccessible::PageTab);
  EXPECT_EQ(before->text(QAccessible::Name), QStringLiteral("C & 1999"));
  // Offscreen, selected and focused, of the first, the one before the chosen and the chosen.
  QString states;
  for (QAccessibleInterface* tab : {first, before, chosen}) {
    const QAccessible::State state = tab->state();
    states +=
        QStringLiteral("%1%2%3 ").arg(int(state.offscreen)).arg(int(state.selected)).arg(int(state.focused));
  }
  EXPECT_EQ(states, QStringLiteral("100 000 01%1 ").arg(int(tabs->hasFocus())));
  const QRect rect = tabs->tabRect(1998);
  EXPECT_EQ(before->rect(), QRect(tabs->mapToGlobal(rect.topLeft()), rect.size()));
  EXPECT_EQ(accessible->childAt(before->rect().center().x(), before->rect().center().y()), before);
  ASSERT_NE(before->actionInterface(), nullptr);
  EXPECT_EQ(before->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
  before->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(tabs->currentIndex(), 1998);
  EXPECT_EQ(window->List()->model()->rowCount(), 0);
  EXPECT_TRUE(before->state().selected);
  EXPECT_EQ(accessible->focusChild() == before, tabs->hasFocus());
}

TEST_F(MainWindowTest, DoubleClickAndRemoveStringActOnWhatTheUserChose) {
  for (int id = 1000; id < 1003; ++id) TranslateDBClass::AddObject(NewString(id, "IDS", u"t"));
  OpenSaved();
  EXPECT_TRUE(window->Action(kCmdSave)->isEnabled());
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QTest::mouseClick(window->Tabs(), Qt::LeftButton, {}, window->Tabs()->tabRect(0).center());
  ASSERT_EQ(window->List()->model()->rowCount(), 3);

  // Edit a string, save: the refilled list shows the edit and has no selection mark, whatever Qt
  // makes current when the list gets the focus back.
  QString title;
  AnswerModal([&title](QWidget* dialog) {
    title = dialog->windowTitle();
    SetControlText(dialog, kEditIDString, QStringLiteral("IDS_EDITED"));
    ClickControl(dialog, kIDOk);
  });
  DoubleClick(window->List(), 0);
  ASSERT_EQ(title, QStringLiteral("Edit String"));
  EXPECT_EQ(ListCell(0, 0), QStringLiteral("IDS_EDITED"));
  window->Action(kCmdSave)->trigger();
  // The window is active again and the list has the focus back, which makes a row current.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  ASSERT_TRUE(window->List()->hasFocus());
  ASSERT_TRUE(window->List()->currentIndex().isValid());
  window->Action(kCmdRemoveString)->trigger();
  EXPECT_EQ(window->List()->model()->rowCount(), 3);

  // The row the user clicks is the one removed; after the refill nothing is marked again.
  auto click = [this](int row, Qt::KeyboardModifiers keys) {
    QTest::mouseClick(window->List()->viewport(), Qt::LeftButton, keys,
                      window->List()->visualRect(window->List()->model()->index(row, 0)).center());
  };
  click(1, {});
  window->Action(kCmdRemoveString)->trigger();
  EXPECT_EQ(TranslateDBClass::GetObject(1), nullptr);
  window->Action(kCmdRemoveString)->trigger();
  EXPECT_EQ(window->List()->model()->rowCount(), 2);

  // A row the user deselected with Ctrl+click stays, whatever else is selected; after
  // Shift+click the row clicked last goes.
  for (int id = 1003; id < 1006; ++id) TranslateDBClass::AddObject(NewString(id, "IDS", u"t"));
  window->Editor().OnTabSelected(0);  // rows: 1005, 1004, 1003, 1002, 1000
  click(0, {});
  click(0, Qt::ControlModifier);
  window->Action(kCmdRemoveString)->trigger();
  click(0, {});
  click(2, Qt::ControlModifier);
  click(2, Qt::ControlModifier);
  window->Action(kCmdRemoveString)->trigger();
  EXPECT_EQ(window->List()->model()->rowCount(), 5);
  click(1, {});
  click(3, Qt::ShiftModifier);
  window->Action(kCmdRemoveString)->trigger();
  EXPECT_EQ(TranslateDBClass::GetObject(2), nullptr);
  EXPECT_EQ(window->List()->model()->rowCount(), 4);
}

// The stored fields of a string, for comparing a whole string at once.
struct Stored {
  std::string IDString, English;
  int ID, Sound;
  std::u16string Text0, Text1;
  bool operator==(const Stored&) const = default;
};
void PrintTo(const Stored& s, std::ostream* out) {
  *out << s.IDString << " " << s.ID << " " << s.Sound << " [" << s.English << "] ["
       << QString::fromStdU16String(s.Text0).toStdString() << "] ["
       << QString::fromStdU16String(s.Text1).toStdString() << "]";
}
Stored Read(TDBStringClass* s) {
  return {s->GetIDString().Chars(), s->GetEnglishText().Chars(), s->GetID(),
          s->GetSoundID(),          s->GetText(0).Chars(),       s->GetText(1).Chars()};
}

// Types text at the end of the field, as a person would.
void TypeAtEnd(QWidget* field, const QString& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->end(false);
  if (auto* edit = qobject_cast<QPlainTextEdit*>(field)) edit->moveCursor(QTextCursor::End);
  field->setFocus();
  QTest::keyClicks(field, text);
}

TEST_F(MainWindowTest, EditStringOkWritesOnlyTheFieldsTheUserChanged) {
  // Texts with tabs and line feeds (shown escaped), and texts whose characters the narrow
  // "Eng. string" field cannot hold, or that Qt's plain text would change (no-break space,
  // line and paragraph separators).
  const Stored plain{"IDS_X", "Tab\there\nnext", 1000, 7, u"Tab\there\nnext", u"Eins\tzwei"};
  const char16_t* wide_text0 = u"It\u2019s \u201cq\u201d\u00a0x\u2028y\u2029z\tw";
  const Stored wide{"IDS_X", "It's", 1000, 7, wide_text0, u"Zwei\u00a0\u201cz\u201d\r\nend"};
  // Texts that begin with U+FEFF or U+FFFE, which are no byte order marks here.
  const Stored marked{"IDS_X", "Hello", 1000, 7, u"\uFEFFHello", u"\uFFFEHello"};
  enum Field { kNone, kIDString, kNumeric, kEnglish, kText, kSound };
  for (int language : {0, 1}) {
    for (const Stored* original : {&plain, &wide, &marked}) {
      for (Field field : {kNone, kIDString, kNumeric, kEnglish, kText, kSound}) {
        SCOPED_TRACE(testing::Message()
                     << "language " << language << " text " << original->Text0.size() << " field " << field);
        TranslateDBClass::ClearDatabase();
        TranslateDBClass::AddCategoryNamed("Default");
        TranslateDBClass::SetCurrentLanguage(language);
        TDBStringClass* s = NewString(1000, "IDS_X", u"", 1);
        s->SetEnglishText(original->English.c_str());
        s->SetText(0, original->Text0.c_str());
        s->SetText(1, original->Text1.c_str());
        s->SetSoundID(7);
        ASSERT_TRUE(TranslateDBClass::AddObject(s));
        ASSERT_EQ(Read(s), *original);
        window->Editor().View().RebuildTabs();
        window->TabsChanged();
        window->Editor().OnTabSelected(0);
        QApplication::processEvents();

        // The user types at the end of one field (after clearing it for a number).
        Stored expected = *original;
        if (field == kIDString) expected.IDString = "IDS_XY";
        if (field == kNumeric) expected.ID = 1005;
        if (field == kSound) expected.Sound = 8;
        if (field == kEnglish) {  // the English text replaces text 0
          expected.English += "!";
          expected.Text0.assign(expected.English.begin(), expected.English.end());
        }
        if (field == kText && language == 1) expected.Text1 += u"Z";
        if (field == kText && language == 0) {  // text 0 replaces an English text that can hold it
          expected.Text0 += u"Z";
          if (std::all_of(expected.Text0.begin(), expected.Text0.end(), [](char16_t c) { return c <= 0xFF; }))
            expected.English.assign(expected.Text0.begin(), expected.Text0.end());
        }
        const int controls[] = {0, kEditIDString, kEditNumericID, kEditEnglish, kEditText, kEditSound};
        const char* typed[] = {"", "Y", "1005", "!", "Z", "8"};
        bool answered = false;
        AnswerModal([&](QWidget* dialog) {
          if (field != kNone) {
            QWidget* edit = FindControl(dialog, controls[field]);
            if (field == kNumeric || field == kSound) static_cast<QLineEdit*>(edit)->clear();
            TypeAtEnd(edit, QString::fromLatin1(typed[field]));
          }
          answered = true;
          ClickControl(dialog, kIDOk);
        });
        DoubleClick(window->List(), 0);
        ASSERT_TRUE(answered);
        EXPECT_EQ(Read(s), expected);
      }
    }
  }
}

TEST_F(MainWindowTest, KeysChooseTabsMoveTheFocusOpenRowsAndShowHits) {
  TranslateDBClass::AddCategoryNamed("Two");
  TranslateDBClass::AddCategoryNamed("Three");
  for (int i = 0; i < 6; ++i) TranslateDBClass::AddObject(NewString(1000 + i, "IDS", u"t", 1 + i % 3));
  OpenSaved();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  TabRow* tabs = window->Tabs();
  QTreeView* list = window->List();
  tabs->setFocus();
  QTest::keyClick(tabs, Qt::Key_Right);
  EXPECT_EQ(ListCell(0, 1), QStringLiteral("1004"));
  // Tab goes from the tabs to the list and back.
  QTest::keyClick(tabs, Qt::Key_Tab);
  EXPECT_TRUE(list->hasFocus());
  QTest::keyClick(list, Qt::Key_Tab);
  EXPECT_TRUE(tabs->hasFocus());
  QTest::keyClick(tabs, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(list->hasFocus());
  // Ctrl+Tab and Ctrl+Shift+Tab choose the next and previous tab from the list, going round.
  QTest::keyClick(list, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 2);
  QTest::keyClick(list, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 0);
  QTest::keyClick(list, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(tabs->currentIndex(), 2);
  EXPECT_EQ(ListCell(0, 1), QStringLiteral("1005"));
  EXPECT_TRUE(list->hasFocus());

  // Return on the selected row opens Edit String, where Shift+Enter breaks the line as Enter
  // does; the list keeps the window's focus, which it has again when the window is active again.
  QTest::keyClick(list, Qt::Key_Down);  // the first row, 1005
  AnswerModal([](QWidget* dialog) {
    auto* text = static_cast<QPlainTextEdit*>(FindControl(dialog, kEditText));
    text->clear();
    TypeAtEnd(text, QStringLiteral("Line1"));
    QTest::keyClick(text, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(text, QStringLiteral("Line2"));
    ClickControl(dialog, kIDOk);
  });
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(std::string(TranslateDBClass::GetObject(5)->GetEnglishText().Chars()), "Line1\r\nLine2");
  EXPECT_EQ(window->focusWidget(), list);

  // In Find results, Return shows the selected hit and Escape closes the window.
  FindID(QStringLiteral("IDS"));
  FindResultsWindow* results = window->FindResults();
  ASSERT_NE(results, nullptr);
  results->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(results));
  QTest::mouseClick(results->List()->viewport(), Qt::LeftButton, {},
                    results->List()->visualRect(results->List()->model()->index(1, 0)).center());
  QTest::keyClick(results->List(), Qt::Key_Return);
  EXPECT_TRUE(results->isVisible());
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(ListCell(list->currentIndex().row(), 1), QStringLiteral("1001"));
  // Edit String on the row shown gives the focus back to the list that holds it, in the active
  // main window, not to the Find results.
  AnswerModal([](QWidget* dialog) { ClickControl(dialog, kIDOk); });
  QTest::keyClick(list, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), list);
  QTest::keyClick(results->List(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(window->FindResults(), nullptr);
}

TEST_F(MainWindowTest, EditFieldsKeepEveryCharacterTheUserDidNotTypeOver) {
  // Every code unit, and surrogate pairs, first and last in a text (read back alone), and in the
  // middle of one (read back alone and after "Z" is typed at the end), in both text fields.
  QDialog dialog;
  const DialogTemplate& layout = *FindDialogTemplate(kEditStringDialog);
  BuildDialog(&dialog, layout);
  auto* text = static_cast<QPlainTextEdit*>(FindControl(&dialog, kEditText));
  auto* english = static_cast<QLineEdit*>(FindControl(&dialog, kEditEnglish));
  int wrong = 0;
  auto check = [&](const std::u16string& written, bool type) {
    DialogFieldsClass fields;
    fields.SetText(kEditText, written.c_str());
    fields.SetText(kEditEnglish, written.c_str());
    WriteFields(&dialog, layout, fields);
    if (type) {
      text->moveCursor(QTextCursor::End);
      text->textCursor().insertText(QStringLiteral("Z"));
      english->end(false);
      english->insert(QStringLiteral("Z"));
    }
    ReadFields(&dialog, layout, fields);
    const std::u16string read = written + (type ? u"Z" : u"");
    if ((fields.Text(kEditText) != read || fields.Text(kEditEnglish) != read) && ++wrong < 10)
      ADD_FAILURE() << std::hex << "U+" << int(written[0]) << " U+" << int(written[1]);
  };
  std::u16string middle = u"<";
  auto sweep = [&](std::u16string unit) {
    check(unit + u"m" + unit, false);
    middle += unit;
    if (middle.size() < 256 && unit[0] != 0xFFFF) return;
    check(middle + u">", false);
    check(middle + u">", true);
    middle = u"<";
  };
  for (char32_t c = 1; c <= 0xFFFF; ++c) sweep(std::u16string(1, static_cast<char16_t>(c)));
  for (char16_t i = 0; i < 0x400; ++i) {
    sweep({static_cast<char16_t>(0xD800 + i), static_cast<char16_t>(0xDC00 + (i * 7 + 3) % 0x400)});
    sweep({static_cast<char16_t>(0xD800 + (i * 13 + 5) % 0x400), static_cast<char16_t>(0xDC00 + i)});
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(MainWindowTest, RowsShowEveryCharacterOnOneLine) {
  TranslateDBClass::AddObject(NewString(1000, "IDS_OK", u"Eng_text"));
  TranslateDBClass::AddObject(NewString(1001, "IDS OK", u"Eng text"));
  TranslateDBClass::AddObject(NewString(1002, "IDS_TALL", u"Line1\nLine2\r\nLine3"));
  window->Editor().OnTabSelected(0);  // rows: 1002, 1001, 1000
  QTreeView* list = window->List();
  QRect cell;
  // A cell drawn as the list draws it, onto white, at scale device pixels per pixel.
  auto draw = [&](int row, int column, qreal scale) {
    QImage image((QSizeF(cell.size()) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.widget = list;
    option.font = list->font();
    option.rect = QRect(QPoint(0, 0), cell.size());
    list->itemDelegate()->paint(&painter, option, list->model()->index(row, column));
    return image;
  };
  // At the default font and others, at 1, 1.25 and 1.5 device pixels per pixel: every row is one
  // line high, and the lowest pixel row in which "IDS_OK" (and "Eng_text") differs from "IDS OK"
  // lies above the grid line, whose first pixel row an empty cell ("Sound ID") shows.
  for (int size = 0; size <= 20; size += (size ? 1 : 8)) {
    QFont font = QApplication::font();
    if (size) font.setPixelSize(size);
    list->setFont(font);
    cell = list->visualRect(list->model()->index(1, 0));
    EXPECT_EQ(list->visualRect(list->model()->index(0, 0)).height(), cell.height());
    EXPECT_LT(cell.height(), 2 * list->fontMetrics().height());
    for (qreal scale : {1.0, 1.25, 1.5}) {
      const QImage empty = draw(1, 2, scale);
      int line = 0;
      while (line < empty.height() && empty.pixel(1, line) == QColor(Qt::white).rgb()) ++line;
      for (int column : {0, 3}) {
        const QImage with = draw(2, column, scale), without = draw(1, column, scale);
        int lowest = -1;
        for (int y = 0; y < with.height(); ++y) {
          for (int x = 0; x < with.width(); ++x)
            lowest = with.pixel(x, y) != without.pixel(x, y) ? y : lowest;
        }
        EXPECT_GE(lowest, 0);
        EXPECT_LT(lowest, line) << "font " << size << " scale " << scale << " column " << column;
      }
    }
  }
}

TEST_F(MainWindowTest, FileDialogsNameTheirFilterOnce) {
  QStringList filters;
  auto record = [&filters](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    filters << dialog->nameFilters();
    dialog->reject();
  };
  AnswerModal(record);
  window->Editor().ExecuteCommand(kCmdExportHeader);
  AnswerModal(record);
  window->Editor().ExecuteCommand(kCmdOpen);
  EXPECT_EQ(filters, (QStringList{"C Header Files (*.h)", "String table (*.tdb)"}));
}

TEST_F(MainWindowTest, FailedOpenSaysSoInAMessageBox) {
  window->SetFileChooser([](const FileDialogRequest&, NarrowStringClass& path) {
    path = "/nonexistent/folder/lost.tdb";
    return true;
  });
  QString text;
  AnswerModal([&text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->accept();
  });
  window->Action(kCmdOpen)->trigger();
  EXPECT_TRUE(text.contains(QStringLiteral("/nonexistent/folder/lost.tdb: ")));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Advanced string editor - lost.tdb"));
}

// The View menu: the translation column and the label of "Text", Only untranslated with its
// status text and F8, the filter bar, and the settings that a new window starts with.
TEST_F(MainWindowTest, ViewMenuShowsTranslationsWhatIsLeftAndTheFilterBar) {
  TranslateDBClass::AddCategoryNamed("Menus");
  TDBStringClass* done = NewString(1000, "IDS_DONE", u"Hello", 1);
  ASSERT_TRUE(done->SetText(1, u"Hello") && TranslateDBClass::AddObject(done));
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(1001, "IDS_LEFT", u"Bye", 2)));
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(1002, "IDS_ALSO", u"Quit", 1)));
  OpenSaved();
  window->Editor().OnTabSelected(0);
  QAction* next = window->Action(kCmdNextUntranslated);
  EXPECT_FALSE(next->isVisible());
  window->Action(kCmdTranslationFirst)->trigger();
  EXPECT_TRUE(window->Action(kCmdTranslationFirst)->isChecked());
  EXPECT_FALSE(window->Action(kCmdTranslationNone)->isChecked());
  EXPECT_TRUE(next->isVisible());
  EXPECT_EQ(next->shortcut(), QKeySequence(Qt::Key_F8));
  QAbstractItemModel* model = window->List()->model();
  ASSERT_EQ(model->columnCount(), 5);
  EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString() +
                QString::number(window->List()->header()->sectionSize(4)),
            QStringLiteral("Text (1)450"));
  EXPECT_EQ(ListCell(0, 4) + "|" + ListCell(1, 4), QStringLiteral("|= Hello"));

  QString label, name;
  AnswerModal([&](QWidget* dialog) {
    QWidget* edit = FindControl(dialog, kEditText);
    for (QLabel* each : dialog->findChildren<QLabel*>())
      if (each->buddy() == edit) label = each->text();
    name = edit->accessibleName();
    TypeAtEnd(edit, QStringLiteral("!"));
    ClickControl(dialog, kIDOk);
  });
  DoubleClick(window->List(), 1);
  EXPECT_EQ(label + "|" + name, QStringLiteral("Text (1)|Text (1)"));
  EXPECT_EQ(std::u16string(TranslateDBClass::GetObject(0)->GetText(1).Chars()), u"Hello!");
  EXPECT_STREQ(TranslateDBClass::GetObject(0)->GetEnglishText().Chars(), "Hello");

  window->Action(kCmdOnlyUntranslated)->trigger();
  ASSERT_EQ(model->rowCount(), 2);
  EXPECT_EQ(ListCell(0, 0) + "|" + ListCell(1, 0), QStringLiteral("IDS_ALSO|IDS_LEFT"));
  EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("2 of 3 untranslated in language 1"));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  window->List()->setFocus();
  QTest::keyClick(window->List(), Qt::Key_F8);
  QTest::keyClick(window->List(), Qt::Key_F8);
  EXPECT_EQ(window->SelectionMark(), 1);
  EXPECT_EQ(window->List()->selectionModel()->selectedRows().size(), 1);
  {
    MainWindow started;  // with the settings kept
    EXPECT_EQ(started.List()->model()->columnCount(), 5);
    EXPECT_TRUE(started.Action(kCmdOnlyUntranslated)->isChecked());
  }
  window->Action(kCmdOnlyUntranslated)->trigger();
  EXPECT_EQ(window->statusBar()->currentMessage(), QString());
  window->Action(kCmdCheckTranslations)->trigger();
  ASSERT_TRUE(window->FindResults());
  QAbstractItemModel* results = window->FindResults()->List()->model();
  EXPECT_EQ(results->headerData(3, Qt::Horizontal).toString() + "|" + results->index(1, 3).data().toString(),
            QStringLiteral("Problem|no translation (empty)"));

  const QRect tabs = window->Tabs()->geometry(), list = window->List()->geometry();
  window->Action(kCmdFilterBar)->trigger();
  const int bar = window->FilterBar()->height();
  EXPECT_GT(bar, 0);
  EXPECT_EQ(window->FilterBar()->y(), list.y());
  EXPECT_EQ(window->Tabs()->geometry(), tabs);
  EXPECT_EQ(window->List()->geometry(), list.adjusted(0, bar, 0, 0));
  QTest::keyClicks(window->FilterEdit(), QStringLiteral("e"));
  EXPECT_EQ(model->rowCount(), 1);
  window->FilterAllCategories()->click();
  EXPECT_EQ(model->rowCount(), 2);
  window->FilterEdit()->setFocus();
  QTest::keyClick(window->FilterEdit(), Qt::Key_Escape);
  EXPECT_EQ(window->FilterEdit()->text() + QString::number(model->rowCount()), QStringLiteral("2"));
  window->Action(kCmdFilterBar)->trigger();
  EXPECT_EQ(window->List()->geometry(), list);
  window->Action(kCmdTranslationNone)->trigger();
  EXPECT_EQ(model->columnCount(), 4);
  EXPECT_FALSE(next->isVisible());
}

// Edit, Replace: the dialog's radio groups and its check box, the question, and its Cancel and OK.
TEST_F(MainWindowTest, ReplaceAsksBeforeItChangesTheTranslationTexts) {
  TDBStringClass* open = NewString(1000, "IDS_OPEN", u"Open", 1);
  ASSERT_TRUE(open->SetText(1, u"\u00d6ffnen \u00f6ffnen") && TranslateDBClass::AddObject(open));
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(1001, "IDS_OTHER", u"Other", 1)));
  OpenSaved();
  window->Editor().OnTabSelected(0);
  window->Action(kCmdTranslationFirst)->trigger();
  QString label, question;
  bool enabled = false;
  auto answer = [&](QMessageBox::StandardButton button) {
    AnswerModal([&, button](QWidget* dialog) {
      auto* translation = qobject_cast<QAbstractButton*>(FindControl(dialog, kReplaceTranslation));
      label = translation->text();
      enabled = translation->isEnabled();
      SetControlText(dialog, kReplaceFind, QStringLiteral("\u00f6ffnen"));
      SetControlText(dialog, kReplaceWith, QStringLiteral("auf"));
      ClickControl(dialog, kReplaceTranslation);
      ClickControl(dialog, kReplaceAll);  // the other group keeps its choice
      ClickControl(dialog, kReplaceMatchCase);
      EXPECT_TRUE(translation->isChecked());
      AnswerModal([&, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        question = box->text();
        box->button(button)->click();
      });
      ClickControl(dialog, kButtonOk);
    });
    window->Action(kCmdReplace)->trigger();
  };
  answer(QMessageBox::Cancel);
  EXPECT_EQ(label + QString::number(enabled), QStringLiteral("Texts of language 11"));
  EXPECT_TRUE(
      question.startsWith(QStringLiteral("\u201c\u00f6ffnen\u201d becomes \u201cauf\u201d in the texts of "
                                         "language 1 of all strings.\n\n1 string changes (1 occurrence).")));
  EXPECT_EQ(ListCell(1, 4), QStringLiteral("\u00d6ffnen \u00f6ffnen"));
  answer(QMessageBox::Ok);  // the check box was kept on, so this click turns it off
  EXPECT_EQ(ListCell(1, 4), QStringLiteral("\u00d6ffnen auf"));
  EXPECT_EQ(ListCell(1, 3) + QString::number(TranslateDBClass::GetCurrentLanguage()),
            QStringLiteral("Open0"));
}

}  // namespace
}  // namespace ui
