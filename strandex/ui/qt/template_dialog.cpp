// Building dialogs from templates, and running them for the editor logic.
#include "strandex/ui/qt/template_dialog.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTreeView>

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

QWidget* MakeControl(const ControlTemplate& control, QWidget* parent) {
  const QString text = ToQString(control.Text);
  switch (control.Kind) {
    case ControlKind::Edit:
      return new QLineEdit(parent);
    case ControlKind::MultiLineEdit: {
      auto* edit = new QPlainTextEdit(parent);
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
    case ControlKind::ListView:
      return NewReportList(parent, QAbstractItemView::SingleSelection);
  }
  return nullptr;
}

QString ToMultiLine(const char16_t* text) {
  QString shown = ToQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar(u'\r'), QChar(kCarriageReturnSymbol));
  return shown;
}

// The multi-line edit's text as it stands: each line break between its paragraphs is CR LF,
// and no-break spaces and line separators stay what they are (toPlainText would change them).
QString FromMultiLine(const QPlainTextEdit* edit) {
  QString shown = edit->document()->toRawText();
  shown.replace(QChar(QChar::ParagraphSeparator), QStringLiteral("\r\n"));
  shown.replace(QChar(kCarriageReturnSymbol), QChar(u'\r'));
  return shown;
}

// The text an edit control holds, or a null string for other controls.
QString EditText(const QWidget* widget) {
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  if (auto* text = qobject_cast<const QPlainTextEdit*>(widget)) return FromMultiLine(text);
  return QString();
}

}  // namespace

int DialogUnitsToPixelsX(const QWidget* widget, int units) { return units * AverageCharWidth(widget) / 4; }

int DialogUnitsToPixelsY(const QWidget* widget, int units) {
  return units * QFontMetrics(widget->font()).height() / 8;
}

void BuildDialog(QDialog* dialog, const DialogTemplate& dialog_template) {
  dialog->setWindowTitle(ToQString(dialog_template.Caption));
  dialog->setProperty(kResourceIdProperty, dialog_template.ID);
  QGroupBox* group = nullptr;
  QList<QWidget*> widgets;
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    QWidget* widget = MakeControl(control, dialog);
    widget->setProperty(kResourceIdProperty, control.ID);
    widget->setGeometry(DialogUnitsToPixelsX(dialog, control.X), DialogUnitsToPixelsY(dialog, control.Y),
                        DialogUnitsToPixelsX(dialog, control.Width),
                        DialogUnitsToPixelsY(dialog, control.Height));
    if (control.Kind == ControlKind::GroupBox) group = static_cast<QGroupBox*>(widget);
    widgets.append(widget);
  }
  // Labels name their fields (and so give them their accessible names).
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    QWidget* field = FindControl(dialog, control.Buddy);
    auto* label = qobject_cast<QLabel*>(widgets[i]);
    if (!label) continue;
    // A label wider at this font than its place is widened to show its whole text; it is
    // raised over the field it then reaches into, and nothing else moves.
    if (label->sizeHint().width() > label->width()) {
      label->resize(label->sizeHint().width(), label->height());
      label->raise();
    }
    if (!field) continue;
    label->setBuddy(field);
    field->setAccessibleName(label->text());
  }
  // The group box frames the radio buttons from behind.
  if (group) group->lower();
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

void ReadFields(const QWidget* dialog, const DialogTemplate& dialog_template, DialogFieldsClass& fields) {
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    QWidget* widget = FindControl(dialog, control.ID);
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      fields.SetChecked(control.ID, radio->isChecked());
      continue;
    }
    const QString text = EditText(widget);
    if (text.isNull()) continue;
    // A field the user left as it was shown reads back as the logic's own text, whatever the
    // control made of it.
    const bool untouched = widget->property(kShownTextProperty).toString() == text;
    const QString& read = untouched ? widget->property(kFieldTextProperty).toString() : text;
    fields.SetText(control.ID, reinterpret_cast<const char16_t*>(read.utf16()));
  }
}

void WriteFields(QWidget* dialog, const DialogTemplate& dialog_template, const DialogFieldsClass& fields) {
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    QWidget* widget = FindControl(dialog, control.ID);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      edit->setText(ToQString(fields.Text(control.ID)));
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
      text->setPlainText(ToMultiLine(fields.Text(control.ID)));
    } else {
      if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        if (fields.Checked(control.ID)) radio->setChecked(true);
      }
      continue;
    }
    widget->setProperty(kFieldTextProperty, ToQString(fields.Text(control.ID)));
    widget->setProperty(kShownTextProperty, EditText(widget));
  }
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
