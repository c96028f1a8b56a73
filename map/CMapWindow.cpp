#include "map/CMapWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>

#include "map/CMapWidget.h"
#include "map/Maidenhead.h"

namespace corvale {

namespace {

constexpr int kBands[] = {50, 144, 222, 432};

int BandMegahertz(const std::string& bandCode) {
    for (int megahertz : kBands) {
        if (VuccBandCode(megahertz) == bandCode)
            return megahertz;
    }
    return 0;
}

QString AwardChoiceText(Award award, int bandMegahertz) {
    QString text = QString::fromUtf8(AwardName(award));
    if (bandMegahertz != 0)
        text += QStringLiteral(" %1 MHz").arg(bandMegahertz);
    return text;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// "20240131" as "2024-01-31"; other text as it stands.
QString DateText(const std::string& date) {
    if (date.size() != 8)
        return Text(date);
    return Text(date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2));
}

QString ConfirmationText(const EntityContact& contact) {
    const QString code = Text(contact.confirm);
    if (contact.confirms)
        return code.isEmpty() ? QObject::tr("confirmed") : QObject::tr("confirmed (%1)").arg(code);
    return code.isEmpty() ? QObject::tr("no") : QObject::tr("no (%1)").arg(code);
}

}  // namespace

CMapWindow::CMapWindow(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName("CMapWindow");
    setWindowTitle(tr("Corvale map"));
    resize(1100, 720);

    auto* toolBar = addToolBar(tr("Map"));
    toolBar->setObjectName("toolBarMap");
    toolBar->setMovable(false);
    toolBar->addWidget(new QLabel(tr("Award: "), toolBar));
    m_comboAward = new QComboBox(toolBar);
    m_comboAward->setObjectName("comboAward");
    for (Award award : {Award::Dxcc, Award::Was, Award::Iota, Award::Vucc, Award::Ffma})
        m_comboAward->addItem(AwardChoiceText(award, 0), static_cast<int>(award));
    toolBar->addWidget(m_comboAward);
    toolBar->addSeparator();
    toolBar->addWidget(new QLabel(tr("Projection: "), toolBar));
    m_comboProjection = new QComboBox(toolBar);
    m_comboProjection->setObjectName("comboProjection");
    m_comboProjection->addItems({tr("Latitude/longitude"), tr("Azimuthal from home")});
    toolBar->addWidget(m_comboProjection);
    toolBar->addWidget(new QLabel(tr(" Home locator: "), toolBar));
    m_editHome = new QLineEdit(toolBar);
    m_editHome->setObjectName("editHome");
    m_editHome->setPlaceholderText(tr("e.g. FN42"));
    m_editHome->setMaxLength(6);
    m_editHome->setMaximumWidth(90);
    toolBar->addWidget(m_editHome);
    toolBar->addSeparator();
    m_checkNeeded = new QCheckBox(tr("Show needed"), toolBar);
    m_checkNeeded->setObjectName("checkShowNeeded");
    m_checkNeeded->setChecked(true);
    toolBar->addWidget(m_checkNeeded);
    toolBar->addSeparator();
    QAction* save = toolBar->addAction(tr("Save map as..."), this, &CMapWindow::OnSaveMapAs);
    save->setObjectName("actionSaveMapAs");
    save->setShortcut(QKeySequence::Save);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    m_map = new CMapWidget(splitter);
    m_map->setObjectName("mapWidget");
    auto* panel = new QWidget(splitter);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    m_labelContacts =
        new QLabel(tr("Click a state, country, island or square to list its contacts."), panel);
    m_labelContacts->setObjectName("labelContacts");
    panelLayout->addWidget(m_labelContacts);
    m_listContacts = new QTreeWidget(panel);
    m_listContacts->setObjectName("listContacts");
    m_listContacts->setRootIsDecorated(false);
    m_listContacts->setHeaderLabels(
        {tr("Date"), tr("Time"), tr("Call"), tr("Band"), tr("Mode"), tr("Confirmation")});
    panelLayout->addWidget(m_listContacts);
    splitter->addWidget(m_map);
    splitter->addWidget(panel);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    m_labelHover = new QLabel(statusBar());
    m_labelHover->setObjectName("labelHover");
    m_labelStatus = new QLabel(statusBar());
    m_labelStatus->setObjectName("labelStatus");
    statusBar()->addWidget(m_labelStatus, 1);
    statusBar()->addPermanentWidget(m_labelHover);

    connect(m_comboAward, &QComboBox::currentIndexChanged, this, &CMapWindow::ShowChosenAward);
    connect(m_comboProjection, &QComboBox::currentIndexChanged, this, &CMapWindow::ApplyProjection);
    connect(m_editHome, &QLineEdit::editingFinished, this, &CMapWindow::ApplyProjection);
    connect(m_checkNeeded, &QCheckBox::toggled, m_map, &CMapWidget::SetShowNeeded);
    connect(m_map, &CMapWidget::Hovered, this, [this](const QString& text) {
        m_labelHover->setText(QString(text).replace('\n', QStringLiteral(" | ")));
    });
    connect(m_map, &CMapWidget::EntityClicked, this, &CMapWindow::OnEntityClicked);
    connect(&m_contactsRead, &QFutureWatcher<ContactsRead>::finished, this,
            &CMapWindow::OnContactsRead);
    ShowChosenAward();
}

CMapWindow::~CMapWindow() {
    m_contactsRead.waitForFinished();
}

void CMapWindow::ShowRun(const RunRequest& request, const std::string& logPath, RunResult result) {
    const int band = request.award == Award::Vucc ? BandMegahertz(request.vuccBand) : 0;
    m_runs[request.award] = {request, logPath, std::move(result), band};
    const int index = m_comboAward->findData(static_cast<int>(request.award));
    m_comboAward->setItemText(index, AwardChoiceText(request.award, band));
    if (m_comboAward->currentIndex() == index)
        ShowChosenAward();
    else
        m_comboAward->setCurrentIndex(index);
}

void CMapWindow::ShowChosenAward() {
    const auto award = static_cast<Award>(m_comboAward->currentData().toInt());
    m_listContacts->clear();
    m_wantedKey.clear();
    m_labelContacts->setText(tr("Click a state, country, island or square to list its contacts."));
    m_labelHover->clear();
    const auto found = m_runs.find(award);
    if (found == m_runs.end()) {
        m_shown.reset();
        m_map->SetAward(nullptr);
        m_labelStatus->setText(tr("No completed run of %1 yet: press its button on the main form.")
                                   .arg(QString::fromUtf8(AwardName(award))));
        return;
    }
    const ShownRun& run = found->second;
    m_shown = ExportedAward{award, run.bandMegahertz, run.result.entities};
    m_map->SetAward(&*m_shown);
    m_labelStatus->setText(tr("%1 on %2")
                               .arg(QString::fromStdString(ExportLabel(*m_shown)),
                                    QFileInfo(Text(run.logPath)).fileName()));
}

void CMapWindow::ApplyProjection() {
    if (m_comboProjection->currentIndex() == 0) {
        m_map->SetProjection(std::nullopt);
        return;
    }
    const std::string home = m_editHome->text().trimmed().toStdString();
    const std::optional<GeoPoint> centre = LocatorCentre(home);
    if (!centre) {
        m_labelStatus->setText(
            tr("The azimuthal map needs your home locator (two, four or six characters, e.g. "
               "FN42)."));
        m_editHome->setFocus();
        return;
    }
    m_map->SetProjection(centre);
}

bool CMapWindow::SaveMap(const QString& path) {
    const std::optional<MapFormat> format =
        MapFormatOfWord(QFileInfo(path).suffix().toLower().toStdString());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(
            MapFileBytes(m_map->Renderer(), m_map->View(), format.value_or(MapFormat::Png))) >= 0 &&
        file.commit())
        return true;
    QMessageBox::warning(this, windowTitle(),
                         tr("Cannot write \"%1\": %2.").arg(path, file.errorString()));
    return false;
}

void CMapWindow::OnSaveMapAs() {
    QFileDialog dialog(this, tr("Save map as"));
    dialog.setObjectName("dialogSaveMap");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(
        {tr("PNG picture (*.png)"), tr("SVG drawing (*.svg)"), tr("PDF document (*.pdf)")});
    dialog.setDefaultSuffix("png");
    if (m_shown)
        dialog.selectFile(QString::fromStdString(ExportLabel(*m_shown)) + ".png");
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.section("*.", 1).section(')', 0, 0));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    SaveMap(dialog.selectedFiles().constFirst());
}

void CMapWindow::OnEntityClicked(const AwardEntity& entity) {
    if (!m_shown)
        return;
    const ShownRun& run = m_runs.at(m_shown->award);
    m_wantedKey = entity.key;
    m_listContacts->clear();
    QString title = Text(entity.key);
    if (!entity.name.empty())
        title +=
            ' ' + QString::fromUtf8(entity.name.data(), static_cast<qsizetype>(entity.name.size()));
    m_labelContacts->setText(tr("%1: reading the log...").arg(title));
    if (m_contactsRead.isRunning())
        return;  // the key asked for last is read when the read at hand ends
    const RunRequest request = run.request;
    const std::string logPath = run.logPath;
    const std::string key = entity.key;
    m_contactsRead.setFuture(QtConcurrent::run([request, logPath, key] {
        ContactsRead read{key, {}, {}};
        try {
            CSRC2006QSO qsoSet(logPath);
            read.contacts = ReadEntityContacts(request, qsoSet, key);
        } catch (const std::exception& error) {
            read.error = QString::fromUtf8(error.what());
        }
        return read;
    }));
}

void CMapWindow::OnContactsRead() {
    const ContactsRead read = m_contactsRead.result();
    if (read.key != m_wantedKey) {
        // Another entity was clicked meanwhile: read that one.
        if (m_shown && !m_wantedKey.empty()) {
            OnEntityClicked({m_wantedKey, {}, EntityStatus::Needed, std::nullopt, 0});
        }
        return;
    }
    m_listContacts->clear();
    if (!read.error.isEmpty()) {
        m_labelContacts->setText(
            tr("%1: the log cannot be read: %2").arg(Text(read.key), read.error));
        emit ContactsShown();
        return;
    }
    for (const EntityContact& contact : read.contacts) {
        m_listContacts->addTopLevelItem(new QTreeWidgetItem(
            QStringList{DateText(contact.date), Text(contact.time), Text(contact.call),
                        Text(contact.band), Text(contact.mode), ConfirmationText(contact)}));
    }
    for (int column = 0; column < m_listContacts->columnCount(); ++column)
        m_listContacts->resizeColumnToContents(column);
    const std::size_t count = read.contacts.size();
    const QString key = Text(read.key);
    m_labelContacts->setText(count == 1 ? tr("%1: 1 contact").arg(key)
                                        : tr("%1: %2 contacts").arg(key).arg(count));
    emit ContactsShown();
}

}  // namespace corvale
