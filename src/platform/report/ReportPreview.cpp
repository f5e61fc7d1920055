// The preview window and its commands.
#include "ReportPreview.h"

#include "ReportEngine.h"
#include "ReportPageSetupDialog.h"
#include "ReportPageView.h"
#include "ReportPainter.h"
#include "ReportTemplateError.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace kvl {

namespace {

const int kZoomSteps[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};

// Sheets are described upright with an orientation, so a landscape A5 reaches the
// printer as A5 turned, not as an unknown wide paper.
QPageLayout pageLayoutOf(const ReportDocument &doc)
{
    const bool landscape = doc.pageWidth > doc.pageHeight;
    const QSizeF upright = landscape ? QSizeF(doc.pageHeight, doc.pageWidth) : QSizeF(doc.pageWidth, doc.pageHeight);
    return QPageLayout(QPageSize(upright, QPageSize::Millimeter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

} // namespace

ReportPreview::ReportPreview(const ReportTemplate &tpl, const ReportDataRegistry &data, const ReportVariables &variables,
                             ReportPreviewHooks hooks, QWidget *parent)
    : QDialog(parent)
    , m_template(tpl)
    , m_data(data)
    , m_variables(variables)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(tpl.name.isEmpty() ? QStringLiteral("打印预览") : QStringLiteral("打印预览 - %1").arg(tpl.name));
    setModal(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(1000, 760);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("previewBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addTool = [&](const QString &name, const QString &text, const QKeySequence &key, auto slot) {
        QAction *a = bar->addAction(text);
        a->setObjectName(name);
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    addTool(QStringLiteral("actPageWidth"), QStringLiteral("页宽"), QKeySequence(), [this] { setZoomMode(ZoomMode::PageWidth); });
    addTool(QStringLiteral("actWholePage"), QStringLiteral("整页"), QKeySequence(), [this] { setZoomMode(ZoomMode::WholePage); });
    m_zoomBox = new QComboBox;
    m_zoomBox->setObjectName(QStringLiteral("zoomBox"));
    m_zoomBox->setAccessibleName(QStringLiteral("显示比例"));
    for (int z : kZoomSteps)
        m_zoomBox->addItem(QStringLiteral("%1%").arg(z), z);
    m_zoomBox->addItem(QString(), 0);
    m_zoomBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    bar->addWidget(m_zoomBox);
    connect(m_zoomBox, &QComboBox::activated, this, [this](int i) { setZoomPercent(m_zoomBox->itemData(i).toInt()); });
    addTool(QStringLiteral("actZoomIn"), QStringLiteral("放大"), QKeySequence::ZoomIn, &ReportPreview::zoomIn);
    addTool(QStringLiteral("actZoomOut"), QStringLiteral("缩小"), QKeySequence::ZoomOut, &ReportPreview::zoomOut);
    bar->addSeparator();
    addTool(QStringLiteral("actPrint"), QStringLiteral("打印"), QKeySequence::Print, &ReportPreview::print);
    m_findEdit = new QLineEdit;
    m_findEdit->setObjectName(QStringLiteral("findText"));
    m_findEdit->setAccessibleName(QStringLiteral("查找"));
    m_findEdit->setPlaceholderText(QStringLiteral("查找内容"));
    m_findEdit->setMaximumWidth(160);
    bar->addWidget(m_findEdit);
    auto find = [this] { findNext(m_findEdit->text()); };
    addTool(QStringLiteral("actFind"), QStringLiteral("查找"), QKeySequence::FindNext, find);
    connect(m_findEdit, &QLineEdit::returnPressed, this, find);
    auto *focusFind = new QAction(this);
    focusFind->setShortcut(QKeySequence::Find);
    connect(focusFind, &QAction::triggered, m_findEdit, [this] { m_findEdit->setFocus(); m_findEdit->selectAll(); });
    addAction(focusFind);
    addTool(QStringLiteral("actPageSetup"), QStringLiteral("页面设置"), QKeySequence(), &ReportPreview::pageSetup);
    addTool(QStringLiteral("actExportPdf"), QStringLiteral("导出PDF"), QKeySequence(), [this] { exportPdf(); });
    bar->addSeparator();
    addTool(QStringLiteral("actExit"), QStringLiteral("退出"), QKeySequence(), &QDialog::accept);

    m_view = new ReportPageView;
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("pageScroll"));
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    connect(m_scroll->verticalScrollBar(), &QScrollBar::valueChanged, this, &ReportPreview::updatePageLabel);

    m_pageLabel = new QLabel;
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("statusLabel"));
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(m_pageLabel);
    statusRow->addStretch();
    statusRow->addWidget(m_status);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(2);
    layout->addWidget(bar);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(statusRow);

    relayout();
}

ReportOutcome ReportPreview::run(const QByteArray &templateBytes, const QString &reportName, const ReportDataRegistry &data,
                                 const ReportVariables &variables, QWidget *parent,
                                 const std::function<void(const QByteArray &)> &onSave, ReportPreviewHooks hooks)
{
    ReportTemplate tpl;
    try {
        tpl = ReportTemplate::fromJson(templateBytes, reportName);
    } catch (const ReportTemplateError &e) {
        return {ReportOutcome::Status::BadTemplate, e.message()};
    }
    if (tpl.name.isEmpty())
        tpl.name = reportName;
    ReportPreview preview(tpl, data, variables, std::move(hooks), parent);
    if (preview.document().masterRows == 0)
        return {ReportOutcome::Status::NoData, ReportOutcome::noDataMessage(reportName)};
    if (onSave)
        connect(&preview, &ReportPreview::saveReportSetting, &preview, onSave);
    preview.execDialog(&preview);
    return {ReportOutcome::Status::Shown, QString()};
}

int ReportPreview::execDialog(QDialog *dialog)
{
    return m_hooks.runDialog ? m_hooks.runDialog(dialog) : dialog->exec();
}

void ReportPreview::warn(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("打印预览"), text, QMessageBox::Ok, this);
    execDialog(&box);
}

void ReportPreview::relayout()
{
    m_doc = ReportEngine::prepare(m_template, m_data, m_variables);
    m_view->setDocument(&m_doc);
    m_findPage = -1;
    applyZoom();
}

double ReportPreview::zoom() const
{
    return m_view->zoom();
}

void ReportPreview::applyZoom()
{
    const double screenPxPerMm = logicalDpiX() / 25.4;
    // Reports are taller than the window at page width, so room for the vertical bar
    // is always kept; otherwise the page would not fit once that bar appears.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroll);
    const QSize room = m_scroll->maximumViewportSize() - QSize(bar + 2 * ReportPageView::kGap + 2, 2 * ReportPageView::kGap);
    double z = screenPxPerMm * m_percent / 100.0;
    if (m_mode == ZoomMode::PageWidth)
        z = room.width() / m_doc.pageWidth;
    else if (m_mode == ZoomMode::WholePage)
        z = std::min(room.width() / m_doc.pageWidth, (room.height() + 2) / m_doc.pageHeight);
    const int page = currentPage();
    m_view->setZoom(z);
    m_percent = m_view->zoom() / screenPxPerMm * 100.0;
    // The last entry of the list shows a zoom that is not one of the steps.
    const int step = m_zoomBox->findData(qRound(m_percent));
    const int custom = m_zoomBox->count() - 1;
    if (step >= 0 && step != custom) {
        m_zoomBox->setCurrentIndex(step);
    } else {
        m_zoomBox->setItemText(custom, QStringLiteral("%1%").arg(qRound(m_percent)));
        m_zoomBox->setItemData(custom, qRound(m_percent));
        m_zoomBox->setCurrentIndex(custom);
    }
    showPage(page);
}

void ReportPreview::setZoomMode(ZoomMode mode)
{
    m_mode = mode;
    applyZoom();
}

void ReportPreview::setZoomPercent(int percent)
{
    m_mode = ZoomMode::Fixed;
    m_percent = percent;
    applyZoom();
}

void ReportPreview::zoomIn()
{
    for (int z : kZoomSteps) {
        if (z > m_percent + 0.5) {
            setZoomPercent(z);
            return;
        }
    }
}

void ReportPreview::zoomOut()
{
    for (int i = int(std::size(kZoomSteps)) - 1; i >= 0; --i) {
        if (kZoomSteps[i] < m_percent - 0.5) {
            setZoomPercent(kZoomSteps[i]);
            return;
        }
    }
}

int ReportPreview::currentPage() const
{
    return m_view->pageAt(m_scroll->verticalScrollBar()->value() + m_scroll->viewport()->height() / 3);
}

void ReportPreview::showPage(int page)
{
    page = std::clamp(page, 0, std::max(0, int(m_doc.pages.size()) - 1));
    m_scroll->verticalScrollBar()->setValue(m_view->pageRect(page).top() - ReportPageView::kGap / 2);
    updatePageLabel();
}

void ReportPreview::updatePageLabel()
{
    m_pageLabel->setText(QStringLiteral("第 %1 页 / 共 %2 页").arg(currentPage() + 1).arg(m_doc.pages.size()));
}

bool ReportPreview::findNext(const QString &text)
{
    if (text.isEmpty())
        return false;
    const int n = int(m_doc.pages.size());
    // Repeating the same search moves on to the next page that holds it.
    const int start = (text == m_lastFind && m_findPage >= 0) ? m_findPage + 1 : currentPage();
    m_lastFind = text;
    for (int k = 0; k < n; ++k) {
        const int p = (start + k) % n;
        const QList<int> hits = m_doc.find(p, text);
        if (!hits.isEmpty()) {
            m_findPage = p;
            m_view->setHighlights(p, hits);
            showPage(p);
            m_status->setText(QStringLiteral("第 %1 页找到 %2 处").arg(p + 1).arg(hits.size()));
            return true;
        }
    }
    m_findPage = -1;
    m_view->setHighlights(0, {});
    m_status->setText(QStringLiteral("找不到“%1”").arg(text));
    return false;
}

void ReportPreview::applyPageSetup(const ReportPageSetup &setup)
{
    m_template.page = setup;
    relayout();
    emit saveReportSetting(m_template.toJson());
}

void ReportPreview::pageSetup()
{
    ReportPageSetupDialog dialog(m_template.page, this);
    if (execDialog(&dialog) != QDialog::Accepted)
        return;
    const ReportPageSetup s = dialog.setup();
    const double areaW = (s.orientation == ReportPageSetup::Orientation::Portrait ? s.width : s.height)
                         - s.margins.left - s.margins.right;
    const double areaH = (s.orientation == ReportPageSetup::Orientation::Portrait ? s.height : s.width)
                         - s.margins.top - s.margins.bottom;
    if (areaW < 10 || areaH < 10) {
        warn(QStringLiteral("页边距太大，纸上没有可打印的地方！"));
        return;
    }
    applyPageSetup(s);
}

void ReportPreview::printTo(QPrinter &printer) const
{
    int from = 0, to = -1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage() - 1;
        to = printer.toPage() - 1;
    }
    ReportPainter::paintDocument(printer, m_doc, QPointF(m_template.page.offsetX, m_template.page.offsetY), from, to);
}

void ReportPreview::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_template.name);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(m_doc));

    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("打印"));
    dialog.setMinMax(1, int(m_doc.pages.size()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    // The offsets move the printout on the sheet for printers that feed off-centre.
    auto *offsets = new QWidget;
    offsets->setWindowTitle(QStringLiteral("打印偏移"));
    auto *form = new QFormLayout(offsets);
    auto offsetBox = [&](const QString &name, double value) {
        auto *b = new QDoubleSpinBox;
        b->setObjectName(name);
        b->setRange(-100, 100);
        b->setDecimals(1);
        b->setSuffix(QStringLiteral(" 毫米"));
        b->setValue(value);
        return b;
    };
    QDoubleSpinBox *dx = offsetBox(QStringLiteral("offsetX"), m_template.page.offsetX);
    QDoubleSpinBox *dy = offsetBox(QStringLiteral("offsetY"), m_template.page.offsetY);
    form->addRow(QStringLiteral("向右偏移："), dx);
    form->addRow(QStringLiteral("向下偏移："), dy);
    dialog.setOptionTabs({offsets});
    if (execDialog(&dialog) != QDialog::Accepted)
        return;
    const bool moved = dx->value() != m_template.page.offsetX || dy->value() != m_template.page.offsetY;
    m_template.page.offsetX = dx->value();
    m_template.page.offsetY = dy->value();
    printTo(printer);
    if (moved)
        emit saveReportSetting(m_template.toJson());
}

bool ReportPreview::writePdf(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(m_template.name);
        writer.setCreator(QStringLiteral("Kavelo"));
        writer.setResolution(600);
        writer.setPageLayout(pageLayoutOf(m_doc));
        if (!ReportPainter::paintDocument(writer, m_doc)) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

bool ReportPreview::exportPdf()
{
    const QString suggested = (m_template.name.isEmpty() ? QStringLiteral("报表") : m_template.name) + QStringLiteral(".pdf");
    const QString path = m_hooks.choosePdfFile
                             ? m_hooks.choosePdfFile(suggested)
                             : QFileDialog::getSaveFileName(this, QStringLiteral("导出PDF"), suggested,
                                                            QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return false;
    if (!writePdf(path)) {
        warn(QStringLiteral("不能写入文件［%1］！").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    m_status->setText(QStringLiteral("已导出到 %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

void ReportPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_mode != ZoomMode::Fixed)
        applyZoom();
}

void ReportPreview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    applyZoom();
}

} // namespace kvl
