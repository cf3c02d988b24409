// Filling the main window's list with a whole file's entries, as the view does after an open:
// every row inserted, its three cells written and selected, then the view told and painted.
// Runs on Qt's offscreen display unless another is named.
#include "RecordGenerator.h"

#include "app/CSekretaApp.h"
#include "app/CSekretaView.h"
#include "framework/CFrameWnd.h"
#include "framework/CSingleDocTemplate.h"
#include "platform/headless/CrtRandomSource.h"
#include "platform/headless/HeadlessDocumentTypes.h"
#include "platform/headless/HeadlessRegistry.h"
#include "platform/headless/HeadlessServices.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtFrameWindow.h"
#include "platform/qt/QtWindowSystem.h"

#include <QApplication>
#include <QMainWindow>
#include <QTreeView>

#include <benchmark/benchmark.h>

namespace sekreta {
namespace {

// Sekreta with an empty document in a shown main window.
class Program {
public:
    Program()
        : m_app({m_windows, m_files, m_clipboard, m_shell, m_settings, m_documentTypes, m_random, m_clock},
            "/usr/bin/sekreta", {})
    {
        if (!m_app.InitInstance())
            throw std::runtime_error("Sekreta did not start");
        QApplication::processEvents();
    }

    CSekretaView& View() const
    {
        return *static_cast<CSekretaView*>(m_app.GetDocTemplate()->GetFrame()->GetActiveView());
    }
    platform::qt::QtFrameWindow& Frame() { return *m_windows.Frames().front(); }

private:
    platform::qt::QtWindowSystem m_windows;
    platform::PosixFileSystem m_files;
    platform::qt::QtClipboard m_clipboard;
    platform::HeadlessShell m_shell;
    platform::HeadlessRegistry m_settings;
    platform::HeadlessDocumentTypes m_documentTypes;
    platform::CrtRandomSource m_random {1};
    platform::HeadlessClock m_clock;
    CSekretaApp m_app;
};

void BM_FillListAndShow(benchmark::State& state)
{
    const std::vector<AccountRecord> records = bench::GenerateRecords(static_cast<std::size_t>(state.range(0)));
    Program program;
    QTreeView& view = program.Frame().QtList().View();
    for (auto _ : state) {
        program.View().FillList(records);
        // What the user waits for: the rows in the view, and the window painted with them.
        QApplication::processEvents();
        view.viewport()->repaint();
        if (view.model()->rowCount() != static_cast<int>(records.size()))
            state.SkipWithError("the view does not show every row");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillListAndShow)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sekreta

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
