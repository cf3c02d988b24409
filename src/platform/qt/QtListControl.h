#pragma once

#include "platform/FrameWindow.h"
#include "platform/ListControl.h"
#include "platform/qt/QtListModel.h"

#include <QTimer>

#include <memory>

class QTreeView;
class QWidget;

namespace sekreta::platform::qt {

// The list that fills the main window: a tree view in report mode over a model of the
// program's texts. Rows appended in a burst reach the view together, once the burst ends.
// At most one row is selected; a click in empty space takes the selection away. Double-clicks
// and context-menu requests go to the frame's events.
class QtListControl final : public ListControl {
public:
    // Style bits the list gives a meaning to.
    static constexpr unsigned kShowSelectionAlways = 0x0008;
    static constexpr unsigned kNoSortHeader = 0x8000;

    QtListControl(FrameWindowEvents& events, QWidget* parent);
    ~QtListControl();

    QTreeView& View() const { return *m_view; }
    // Lets the view see every row appended so far; the event loop does it by itself.
    void Publish();

    unsigned GetStyle() const override { return m_style; }
    void SetStyle(unsigned style) override;
    int ClientWidth() const override;
    void InsertColumn(int column, std::string_view heading, int width) override;
    void DeleteColumn(int column) override;
    int GetItemCount() const override;
    int InsertItem(int row, std::string_view text) override;
    void SetItemText(int row, int column, std::string_view text) override;
    void SelectItem(int row) override;
    int GetNextSelectedItem(int start) const override;
    void DeleteItem(int row) override;
    void DeleteAllItems() override;

private:
    void ShowSelection();
    void TakeSelectionFromView();

    FrameWindowEvents& m_events;
    QtListModel m_model;
    std::unique_ptr<QTreeView> m_view;
    QTimer m_publishTimer;
    unsigned m_style = 0;
    int m_selected = -1;
    bool m_showingSelection = false;
};

}  // namespace sekreta::platform::qt
