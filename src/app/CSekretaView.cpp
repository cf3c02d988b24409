#include "app/CSekretaView.h"

#include "app/CSekretaDoc.h"
#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"
#include "platform/TextEncoding.h"
#include "resources/ResourceIds.h"

#include <string_view>

namespace sekreta {

namespace {

// List window styles.
constexpr unsigned LVS_TYPEMASK = 0x0003;
constexpr unsigned LVS_REPORT = 0x0001;
constexpr unsigned LVS_SINGLESEL = 0x0004;
constexpr unsigned LVS_SHOWSELALWAYS = 0x0008;
constexpr unsigned LVS_NOSORTHEADER = 0x8000;

constexpr std::size_t kLongestCell = 128;

// The first 128 bytes of a field, and none from a zero byte on: a cell's text ends there, as
// every text of the system the format came from does. A UTF-8 text is cut before a character
// that would be split, so that the cell still reads as the text it starts.
std::string_view CellText(std::string_view field)
{
    field = field.substr(0, field.find('\0'));
    if (field.size() <= kLongestCell)
        return field;
    std::string_view cell = field.substr(0, kLongestCell);
    if (platform::IsValidUtf8(field)) {
        std::size_t end = cell.size();
        while (end > 0 && (static_cast<unsigned char>(field[end]) & 0xC0) == 0x80)
            --end;
        cell = cell.substr(0, end);
    }
    return cell;
}

}  // namespace

const CRuntimeClass CSekretaView::classCSekretaView {
    "CSekretaView", &CreateObjectOf<CSekretaView>, &CListView::classCListView};

const CRuntimeClass* CSekretaView::GetRuntimeClass() const
{
    return &classCSekretaView;
}

CSekretaDoc* CSekretaView::GetDocument() const
{
    return static_cast<CSekretaDoc*>(CListView::GetDocument());
}

void CSekretaView::OnInitialUpdate()
{
    CListView::OnInitialUpdate();
    platform::ListControl& list = GetListCtrl();
    list.SetStyle(
        (list.GetStyle() & ~LVS_TYPEMASK) | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER);
    const int width = list.ClientWidth();
    // Columns of an earlier New or Open go, so each starts at widths from the width now.
    for (int column = 2; column >= 0; --column)
        list.DeleteColumn(column);
    list.InsertColumn(0, "Account", width / 2);
    list.InsertColumn(1, "User", width / 4);
    list.InsertColumn(2, "URL", width / 4);
    if (CSekretaDoc* document = GetDocument())
        FillList(document->m_records);
}

void CSekretaView::FillList(const std::vector<AccountRecord>& records)
{
    GetListCtrl().DeleteAllItems();
    for (const AccountRecord& record : records)
        AddEntry(record);
}

void CSekretaView::AddEntry(const AccountRecord& record)
{
    platform::ListControl& list = GetListCtrl();
    const int row = list.InsertItem(list.GetItemCount(), CellText(record.account));
    SetEntry(row, record);
}

void CSekretaView::SetEntry(int index, const AccountRecord& record)
{
    platform::ListControl& list = GetListCtrl();
    list.SetItemText(index, 0, CellText(record.account));
    list.SetItemText(index, 1, CellText(record.user));
    list.SetItemText(index, 2, CellText(record.url));
    list.SelectItem(index);
}

void CSekretaView::RemoveEntry(int index)
{
    GetListCtrl().DeleteItem(index);
}

int CSekretaView::GetSelectedIndex() const
{
    return GetListCtrl().GetNextSelectedItem(-1);
}

void CSekretaView::OnDblclk()
{
    if (CSekretaDoc* document = GetDocument())
        document->ModifySelected();
}

void CSekretaView::OnContextMenu(platform::Point screenPoint)
{
    const platform::MenuTemplate* menu = AfxGetApp()->GetResources().FindMenu(IDR_CONTEXTMENU);
    CFrameWnd* mainWindow = AfxGetApp()->m_pMainWnd;
    if (!menu || menu->popups.empty() || !mainWindow)
        return;
    // The main frame owns the menu, so its items follow the same update handlers as its own.
    // The menu runs a loop of its own until it closes, as a modal window does.
    const CWinApp::ModalScope modal(*AfxGetApp());
    mainWindow->Window().TrackPopupMenu(*menu, screenPoint);
}

}  // namespace sekreta
