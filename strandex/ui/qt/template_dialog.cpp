// Building dialogs from templates, and running them for the editor logic.
#include "strandex/ui/qt/template_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTreeView>
#include <vector>

#include "strandex/ui/qt/cell_table_model.h"
#include "strandex/ui/qt/report_list.h"

namespace ui {

namespace {

constexpr char16_t kCarriageReturnSymbol = 0x240D;
// On each edit control: the text the logic gave it, and what the control held right after.
constexpr const char* kFieldTextProperty = "fieldText";
constexpr const char* kShownTextProperty = "shownText";

// Windows' average character width: the width of the 52 letters, halved and rounded, over 26.
int AverageCharWidth(const QWidget* widget) {
  QFontMetrics metrics(widget->font());
  int width =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return (width / 26 + 1) / 2;
}

// The text of a multi-line edit. The edit shows a line break for each CR LF and the symbol
// U+240D for a carriage return on its own, and its document turns some characters into line
// breaks of its own (U+2029, U+FDD0, U+FDD1). So the text is kept beside the document, as what
// each document character stands for: a character the field was given stands for itself, a
// line break the user types (Enter or Shift+Enter) for CR LF, any other typed character for
// itself. Every character the user does not type over is read back as it was given.
class MultiLineText : public QObject {
 public:
  explicit MultiLineText(QPlainTextEdit* edit) : QObject(edit), edit(edit) {
    connect(edit->document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) { Changed(position, removed, added); });
  }

  void Set(const QString& text) {
    QString shown;
    std::vector<QString> given;
    shown.reserve(text.size());
    given.reserve(text.size() + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
        shown += u'\n';
        given.push_back(QStringLiteral("\r\n"));
        ++i;
        continue;
      }
      shown += text[i] == u'\r' ? QChar(kCarriageReturnSymbol) : text[i];
      given.push_back(QString(text[i]));
    }
    given.emplace_back();  // the document's end
    setting = true;
    edit->setPlainText(shown);
    setting = false;
    pieces = std::move(given);
    if (pieces.size() != static_cast<size_t>(edit->document()->characterCount())) ReadAllTyped();
  }

  QString Text() const {
    QString text;
    for (const QString& piece : pieces) text += piece;
    return text;
  }

 private:
  static QString Typed(QChar c) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) return QStringLiteral("\r\n");
    return QString(c);
  }

  void Changed(int position, int removed, int added) {
    if (setting) return;
    const QTextDocument* document = edit->document();
    if (position < 0 || static_cast<size_t>(position) + removed > pieces.size()) return ReadAllTyped();
    pieces.erase(pieces.begin() + position, pieces.begin() + position + removed);
    std::vector<QString> typed;
    typed.reserve(added);
    for (int i = 0; i < added; ++i) typed.push_back(Typed(document->characterAt(position + i)));
    pieces.insert(pieces.begin() + position, typed.begin(), typed.end());
    if (pieces.size() != static_cast<size_t>(document->characterCount())) return ReadAllTyped();
    pieces.back().clear();
  }

  // What the document holds, as if all of it had been typed.
  void ReadAllTyped() {
    const QTextDocument* document = edit->document();
    pieces.clear();
    for (int i = 0; i + 1 < document->characterCount(); ++i) {
      const QChar c = document->characterAt(i);
      pieces.push_back(c == QChar(kCarriageReturnSymbol) ? QStringLiteral("\r") : Typed(c));
    }
    pieces.emplace_back();
  }

  QPlainTextEdit* edit;
  std::vector<QString> pieces;  // one per document character, the document's end last
  bool setting = false;
};

// The class has no meta-object of its own, so findChild cannot tell it from other children.
MultiLineText* TextOf(const QPlainTextEdit* edit) {
  for (QObject* child : edit->children()) {
    if (auto* text = dynamic_cast<MultiLineText*>(child)) return text;
  }
  return nullptr;
}

QWidget* MakeControl(const ControlTemplate& control, QWidget* parent) {
  const QString text = ToQString(control.Text);
  switch (control.Kind) {
    case ControlKind::Edit:
      return new QLineEdit(parent);
    case ControlKind::MultiLineEdit: {
      auto* edit = new QPlainTextEdit(parent);
      new MultiLineText(edit);
      edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      edit->setTabChangesFocus(true);
      return edit;
    }
    case ControlKind::Static:
      return new QLabel(text, parent);
    case ControlKind::GroupBox:
      return new QGroupBox(text, parent);
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
      auto* button = new QPushButton(text, parent);
      button->setAutoDefault(false);
      button->setDefault(control.Kind == ControlKind::DefaultPushButton);
      return button;
    }
    case ControlKind::RadioButton:
      return new QRadioButton(text, parent);
    case ControlKind::CheckBox:
      return new QCheckBox(text, parent);
    case ControlKind::ListView:
      return NewReportList(parent, QAbstractItemView::SingleSelection);
  }
  return nullptr;
}

// The text an edit control holds, or a null string for other controls.
QString EditText(const QWidget* widget) {
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  if (auto* text = qobject_cast<const QPlainTextEdit*>(widget)) return TextOf(text)->Text();
  return QString();
}

// A label wider at its font than its place is widened to show its whole text; it is raised over
// the field it then reaches into, and nothing else moves.
void FitLabel(QLabel* label) {
  if (label->sizeHint().width() <= label->width()) return;
  label->resize(label->sizeHint().width(), label->height());
  label->raise();
}

// Gives the labels the texts the logic chose for them, and their fields the same names; a
// button's label is its own text.
void ApplyLabels(const QWidget* dialog, const DialogFieldsClass& fields) {
  for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
    if (const char16_t* text = fields.Label(button->property(kResourceIdProperty).toInt()))
      button->setText(ToQString(text));
  }
  for (QLabel* label : dialog->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    QWidget* field = label->buddy();
    const int id = field ? field->property(kResourceIdProperty).toInt() : kNoControl;
    const char16_t* text = id != kNoControl ? fields.Label(id) : nullptr;
    if (!text) continue;
    label->setText(ToQString(text));
    FitLabel(label);
    field->setAccessibleName(label->text());
  }
}

}  // namespace

int DialogUnitsToPixelsX(const QWidget* widget, int units) { return units * AverageCharWidth(widget) / 4; }

int DialogUnitsToPixelsY(const QWidget* widget, int units) {
  return units * QFontMetrics(widget->font()).height() / 8;
}

void BuildDialog(QDialog* dialog, const DialogTemplate& dialog_template) {
  dialog->setWindowTitle(ToQString(dialog_template.Caption));
  dialog->setProperty(kResourceIdProperty, dialog_template.ID);
  QList<QGroupBox*> groups;
  // The radio buttons after a group box exclude each other, and only each other.
  QButtonGroup* radios = nullptr;
  QList<QWidget*> widgets;
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    QWidget* widget = MakeControl(control, dialog);
    widget->setProperty(kResourceIdProperty, control.ID);
    widget->setGeometry(DialogUnitsToPixelsX(dialog, control.X), DialogUnitsToPixelsY(dialog, control.Y),
                        DialogUnitsToPixelsX(dialog, control.Width),
                        DialogUnitsToPixelsY(dialog, control.Height));
    if (control.Kind == ControlKind::GroupBox) {
      groups.append(static_cast<QGroupBox*>(widget));
      radios = nullptr;
    }
    if (control.Kind == ControlKind::RadioButton) {
      if (!radios) radios = new QButtonGroup(dialog);
      radios->addButton(static_cast<QRadioButton*>(widget));
    }
    widgets.append(widget);
  }
  // Labels name their fields (and so give them their accessible names).
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    QWidget* field = FindControl(dialog, control.Buddy);
    auto* label = qobject_cast<QLabel*>(widgets[i]);
    if (!label) continue;
    FitLabel(label);
    if (!field) continue;
    label->setBuddy(field);
    field->setAccessibleName(label->text());
  }
  // Group boxes frame their radio buttons from behind.
  for (QGroupBox* group : groups) group->lower();
  dialog->setFixedSize(DialogUnitsToPixelsX(dialog, dialog_template.Width),
                       DialogUnitsToPixelsY(dialog, dialog_template.Height));
}

QWidget* FindControl(const QWidget* dialog, int id) {
  if (id == kNoControl) return nullptr;
  for (QWidget* widget : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (widget->property(kResourceIdProperty).toInt() == id) return widget;
  }
  return nullptr;
}

namespace {

// Calls visit with each control of dialog that the template holds, and its resource ID (one
// pass over the dialog's children: reading a widget's property is what costs).
template <typename Visit>
void ForEachControl(const QWidget* dialog, const DialogTemplate& dialog_template, Visit visit) {
  for (QWidget* widget : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QVariant id = widget->property(kResourceIdProperty);
    if (!id.isValid()) continue;
    for (int i = 0; i < dialog_template.ControlCount; ++i) {
      if (dialog_template.Controls[i].ID == id.toInt()) {
        visit(widget, id.toInt());
        break;
      }
    }
  }
}

}  // namespace

void ReadFields(const QWidget* dialog, const DialogTemplate& dialog_template, DialogFieldsClass& fields) {
  ForEachControl(dialog, dialog_template, [&fields](QWidget* widget, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->isCheckable()) {
      fields.SetChecked(id, button->isChecked());
      return;
    }
    const QString text = EditText(widget);
    if (text.isNull()) return;
    // A field the user left as it was shown reads back as the logic's own text, whatever the
    // control made of it.
    const bool untouched = widget->property(kShownTextProperty).toString() == text;
    const QString& read = untouched ? widget->property(kFieldTextProperty).toString() : text;
    fields.SetText(id, reinterpret_cast<const char16_t*>(read.utf16()));
  });
}

void WriteFields(QWidget* dialog, const DialogTemplate& dialog_template, const DialogFieldsClass& fields) {
  ForEachControl(dialog, dialog_template, [&fields](QWidget* widget, int id) {
    widget->setEnabled(fields.Enabled(id));
    const QString text = ToQString(fields.Text(id));
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      edit->setText(text);
    } else if (auto* multi_line = qobject_cast<QPlainTextEdit*>(widget)) {
      TextOf(multi_line)->Set(text);
    } else {
      // A radio button is unchecked by checking another of its group.
      if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        if (fields.Checked(id)) radio->setChecked(true);
      } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        box->setChecked(fields.Checked(id));
      }
      return;
    }
    widget->setProperty(kFieldTextProperty, text);
    widget->setProperty(kShownTextProperty, EditText(widget));
  });
}

TemplateDialog::TemplateDialog(DialogLogicClass& logic, QWidget* parent)
    : QDialog(parent), logic(logic), dialog_template(*FindDialogTemplate(logic.TemplateID())) {
  BuildDialog(this, dialog_template);
  for (QAbstractButton* button : findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
    int id = button->property(kResourceIdProperty).toInt();
    connect(button, &QAbstractButton::clicked, this, [this, id] { OnButton(id); });
  }
}

int TemplateDialog::Run() {
  logic.OnInit(fields);
  WriteFields(this, dialog_template, fields);
  ApplyLabels(this, fields);
  if (QWidget* focus = FindControl(this, fields.Focus)) focus->setFocus();
  int result = exec();
  return result < 0 ? 0 : result;
}

void TemplateDialog::OnButton(int id) {
  ReadFields(this, dialog_template, fields);
  int result = logic.OnCommand(id, fields);
  if (result != kStayOpen) {
    done(result);
    return;
  }
  WriteFields(this, dialog_template, fields);
}

}  // namespace ui
