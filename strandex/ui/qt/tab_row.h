// TabRow: the row of category tabs of the main window. It holds one label per category and draws
// the tabs in the style's tab look, but measures and paints only the tabs in view, so that a
// database of 100,000 categories shows as fast as one of ten (QTabBar lays its whole bar out
// again at every insertion, which takes minutes for thousands of tabs). The row scrolls by whole
// tabs with the arrow buttons at its right end or the mouse wheel; a click, or Left, Right, Home
// and End while it has the focus, selects a tab. Its queries are named as QTabBar's. For
// assistive technology it is a page tab list with one page tab per category.
#pragma once

#include <QStringList>
#include <QStyleOptionTab>
#include <QWidget>
#include <functional>
#include <vector>

class QToolButton;

namespace ui {

class TabRow : public QWidget {
 public:
  explicit TabRow(QWidget* parent);

  // Replaces the tabs (every label is measured again, when it is first drawn, if any label
  // changed) and selects a tab (-1 for none) without reporting it.
  void SetTabs(const QStringList& labels, int selected);
  // Called with the tab the user chose: at every click on a tab, the selected one included, and
  // at every change of the selection by the keyboard or by setCurrentIndex.
  void SetChosenHandler(std::function<void(int tab)> handler) { chosen = std::move(handler); }

  int count() const { return static_cast<int>(labels.size()); }
  QString tabText(int tab) const { return tab >= 0 && tab < count() ? labels[tab] : QString(); }
  int currentIndex() const { return current; }
  // Selects the tab, scrolls it into view and reports it when the selection changed.
  void setCurrentIndex(int tab);
  // Chooses the tab as a click does: reported even when it is already selected.
  void ChooseTab(int tab) { Choose(tab, true); }
  // Where the tab stands in the row; an empty rectangle when it is scrolled out of view.
  QRect tabRect(int tab) const;
  // The first tab in view.
  int FirstShown() const { return first; }
  // The tab in view under a point, or -1.
  int TabAt(const QPoint& point) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QStyleOptionTab Option(int tab, const QRect& rect) const;
  // Measured the first time the tab comes into view, then kept.
  int TabWidth(int tab) const;
  int TabHeight() const;
  // Whether the tabs from first on fit into width pixels.
  bool Fits(int from, int width) const;
  // Whether the tabs do not all fit, so that the row scrolls and shows its arrow buttons.
  bool Scrolls() const;
  // The width the tabs may take: all of it, or what the arrow buttons leave.
  int Room() const;
  // The first tab of the view that ends with tab last: as many tabs before it as still fit.
  int FirstEndingWith(int last) const;
  // The largest first tab that still fills the room.
  int LastFirst() const;
  void ScrollTo(int tab);
  void ScrollIntoView(int tab);
  void Choose(int tab, bool always);
  void PlaceButtons();

  QStringList labels;
  mutable std::vector<int> widths;  // 0 until measured
  int current = -1;
  int first = 0;
  int hovered = -1;
  int wheel_rest = 0;
  QToolButton* back;
  QToolButton* forward;
  std::function<void(int)> chosen;
};

}  // namespace ui
