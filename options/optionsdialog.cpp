#include "options/optionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <optional>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/globals.h"
#include "core/linuxtexts.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "print/pageframe.h"

namespace gw {

namespace {

const QString GW = QStringLiteral("GW");
const QString Inventory = QStringLiteral("Inventory");
const QString SpecSheets = QStringLiteral("SpecSheets");
const QString Quotes = QStringLiteral("Quotes");

// Help contexts of the five tabs.
constexpr int kTabContexts[5] = {550, 555, 560, 565, 570};

QString Ini(const QString& section, const QString& key, const QString& def = QString())
{
    return ReadIniString(section, key, def, IniFile);
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QLineEdit* LineEdit(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

// Whether the printer reset box takes a key: digits, Backspace, Tab and Enter.
bool IsResetKey(int key)
{
    return (key >= '0' && key <= '9') || key == 8 || key == 9 || key == 13;
}

QString ProgramFolderOfIni() { return QFileInfo(IniFile).absolutePath(); }

QString ParagraphPath(int n)
{
    return ProgramFolderOfIni() + QStringLiteral("/papara%1.txt").arg(n);
}

// A file that a save may replace: its folder takes new files, and the file
// itself, when it exists, may be written.
bool CanReplace(const QString& path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        return false;
    return !file.exists() || (file.isFile() && file.isWritable());
}

} // namespace

OptionsDialog::OptionsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Options"));
    CreateControls();
    LoadSettings();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::CreateControls()
{
    auto* outer = new QVBoxLayout(this);
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->setExpanding(false);
    for (const char* caption : {"&General", "&Font Catalogs", "&Sample Sheets", "&Quotes",
                                "Paragraph &Text"})
        tabs_->addTab(QString::fromLatin1(caption));
    outer->addWidget(tabs_);

    auto* client = new QFrame(this);
    client->setObjectName(QStringLiteral("tabClient"));
    client->setFrameShape(QFrame::StyledPanel);
    auto* stack = new QGridLayout(client);
    for (int i = 0; i < 5; ++i) {
        auto* page = new QWidget(client);
        page->setObjectName(QStringLiteral("tabPage%1").arg(i));
        stack->addWidget(page, 0, 0);
        tabPages_[i] = page;
    }
    outer->addWidget(client, 1);

    // General
    {
        QWidget* f = tabPages_[int(Tab::General)];
        auto* g = new QGridLayout(f);
        userNameEdit_ = LineEdit("userNameEdit", f);
        g->addWidget(Caption(QStringLiteral("&User Name"), userNameEdit_, f), 0, 0);
        g->addWidget(userNameEdit_, 0, 1, 1, 3);
        resetPagesEdit_ = LineEdit("resetPagesEdit", f);
        resetPagesEdit_->setMaximumWidth(60);
        g->addWidget(Caption(QStringLiteral("&Reset printer every"), resetPagesEdit_, f), 1, 0);
        g->addWidget(resetPagesEdit_, 1, 1);
        g->addWidget(new QLabel(QStringLiteral("pages"), f), 1, 2);
        auto* show = new QGroupBox(QStringLiteral("Show Font Types"), f);
        auto* sv = new QVBoxLayout(show);
        trueTypeCheck_ = new QCheckBox(QStringLiteral("Show &TrueType fonts"), show);
        trueTypeCheck_->setObjectName(QStringLiteral("trueTypeCheck"));
        typeOneCheck_ = new QCheckBox(ForLinux(QStringLiteral("Show &Adobe Type 1 (ATM) fonts")), show);
        typeOneCheck_->setObjectName(QStringLiteral("typeOneCheck"));
        printerFontsCheck_ = new QCheckBox(QStringLiteral("Show &Printer (hardware) fonts"), show);
        printerFontsCheck_->setObjectName(QStringLiteral("printerFontsCheck"));
        for (QCheckBox* c : {trueTypeCheck_, typeOneCheck_, printerFontsCheck_})
            sv->addWidget(c);
        g->addWidget(show, 2, 0, 1, 4);
        atmPathEdit_ = LineEdit("atmPathEdit", f);
        atmBrowseButton_ = new QPushButton(QStringLiteral("..."), f);
        atmBrowseButton_->setObjectName(QStringLiteral("atmBrowseButton"));
        atmBrowseButton_->setFixedWidth(32);
        atmBrowseButton_->setAutoDefault(false);
        g->addWidget(Caption(ForLinux(QStringLiteral("&ATM path")), atmPathEdit_, f), 3, 0);
        g->addWidget(atmPathEdit_, 3, 1, 1, 2);
        g->addWidget(atmBrowseButton_, 3, 3);
        g->setColumnStretch(2, 1);
        g->setRowStretch(4, 1);
    }

    auto quoteBlock = [this](int index, QWidget* f, QGridLayout* g, int row) {
        sampleTextBoxes_[index] = new QComboBox(f);
        sampleTextBoxes_[index]->setObjectName(QStringLiteral("sampleTextBox%1").arg(index));
        g->addWidget(Caption(QStringLiteral("&Sample Text"), sampleTextBoxes_[index], f), row, 0);
        g->addWidget(sampleTextBoxes_[index], row, 1);
        samplePreviewEdits_[index] = new QPlainTextEdit(f);
        samplePreviewEdits_[index]->setObjectName(QStringLiteral("samplePreviewEdit%1").arg(index));
        samplePreviewEdits_[index]->setReadOnly(true);  // every key is discarded
        samplePreviewEdits_[index]->setFocusPolicy(Qt::ClickFocus);
        samplePreviewEdits_[index]->setMaximumHeight(60);
        g->addWidget(samplePreviewEdits_[index], row + 1, 0, 1, 2);
    };

    // Font Catalogs
    {
        QWidget* f = tabPages_[int(Tab::Catalogs)];
        auto* g = new QGridLayout(f);
        leftFooterEdit_ = LineEdit("leftFooterEdit", f);
        rightFooterEdit_ = LineEdit("rightFooterEdit", f);
        g->addWidget(Caption(QStringLiteral("&Left Footer"), leftFooterEdit_, f), 0, 0);
        g->addWidget(leftFooterEdit_, 0, 1);
        g->addWidget(Caption(QStringLiteral("&Right Footer"), rightFooterEdit_, f), 1, 0);
        g->addWidget(rightFooterEdit_, 1, 1);
        pointSizeBox_ = new QComboBox(f);
        pointSizeBox_->setObjectName(QStringLiteral("pointSizeBox"));
        pointSizeBox_->setEditable(true);
        infoPointSizeBox_ = new QComboBox(f);
        infoPointSizeBox_->setObjectName(QStringLiteral("infoPointSizeBox"));
        infoPointSizeBox_->setEditable(true);
        for (QComboBox* c : {pointSizeBox_, infoPointSizeBox_}) {
            c->setInsertPolicy(QComboBox::NoInsert);
            c->setMaximumWidth(80);
        }
        g->addWidget(Caption(QStringLiteral("&Point Size"), pointSizeBox_, f), 2, 0);
        g->addWidget(pointSizeBox_, 2, 1, Qt::AlignLeft);
        g->addWidget(Caption(QStringLiteral("&Information point size"), infoPointSizeBox_, f), 3, 0);
        g->addWidget(infoPointSizeBox_, 3, 1, Qt::AlignLeft);
        quoteBlock(0, f, g, 4);
        g->setRowStretch(6, 1);
    }

    // Sample Sheets
    {
        QWidget* f = tabPages_[int(Tab::SampleSheets)];
        auto* g = new QGridLayout(f);
        sheetHeaderEdit_ = LineEdit("sheetHeaderEdit", f);
        g->addWidget(Caption(QStringLiteral("&Header / Footer"), sheetHeaderEdit_, f), 0, 0);
        g->addWidget(sheetHeaderEdit_, 0, 1);
        quoteBlock(1, f, g, 1);
        g->setRowStretch(3, 1);
    }

    // Quotes
    {
        QWidget* f = tabPages_[int(Tab::Quotes)];
        auto* g = new QGridLayout(f);
        for (int i = 0; i < 8; ++i) {
            quoteEdits_[i] = new QLineEdit(f);
            quoteEdits_[i]->setObjectName(QStringLiteral("quoteEdit%1").arg(i));
            g->addWidget(Caption(QStringLiteral("Quote &%1").arg(i + 1), quoteEdits_[i], f), i, 0);
            g->addWidget(quoteEdits_[i], i, 1);
        }
        g->setRowStretch(8, 1);
    }

    // Paragraph Text
    {
        QWidget* f = tabPages_[int(Tab::Paragraphs)];
        auto* v = new QVBoxLayout(f);
        const char* captions[2] = {"&Paragraph Text #1", "Paragraph &Text #2"};
        for (int i = 0; i < 2; ++i) {
            paragraphEdits_[i] = new QPlainTextEdit(f);
            paragraphEdits_[i]->setObjectName(QStringLiteral("paragraphEdit%1").arg(i));
            paragraphEdits_[i]->setTabChangesFocus(true);
            v->addWidget(Caption(QString::fromLatin1(captions[i]), paragraphEdits_[i], f));
            v->addWidget(paragraphEdits_[i]);
        }
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    helpButton_ = new QPushButton(QStringLiteral("Help"), this);
    helpButton_->setObjectName(QStringLiteral("helpButton"));
    for (QPushButton* b : {okButton_, cancelButton_, helpButton_})
        buttons->addWidget(b);
    outer->addLayout(buttons);
    // Every tab caption shows in full.
    resize(std::max(TwipsToPixels(6900), tabs_->sizeHint().width() + 40), TwipsToPixels(5700));

    connect(tabs_, &QTabBar::currentChanged, this, [this] { ShowCurrentTab(); });
    for (int i = 0; i < 2; ++i)
        connect(sampleTextBoxes_[i], qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this, i] { ShowSampleText(i); });
    connect(atmBrowseButton_, &QPushButton::clicked, this, [this] { BrowseForTypeManager(); });
    connect(okButton_, &QPushButton::clicked, this, [this] { ConfirmChanges(); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton_, &QPushButton::clicked, this, [this] { ShowHelp(); });
    resetPagesEdit_->installEventFilter(this);
}

void OptionsDialog::LoadSettings()
{
    CentreForm(this);

    userNameEdit_->setText(Ini(GW, QStringLiteral("UserName")));
    resetPagesEdit_->setText(QString::number(ReadIniInt(Inventory, QStringLiteral("EndDoc"), 3, IniFile)));
    atmPathEdit_->setText(Ini(GW, QStringLiteral("ATMPath")));
    trueTypeCheck_->setChecked(ReadIniInt(GW, QStringLiteral("ShowTrueType"), 1, IniFile) == 1);
    typeOneCheck_->setChecked(ReadIniInt(GW, QStringLiteral("ShowATM"), 1, IniFile) == 1);
    printerFontsCheck_->setChecked(ReadIniInt(GW, QStringLiteral("ShowDevice"), 1, IniFile) == 1);
    typeOneCheck_->setEnabled(ATMInstalled);

    for (const char* size : {"10", "12", "14", "16", "18", "20", "24", "36", "72"})
        pointSizeBox_->addItem(QString::fromLatin1(size));
    pointSizeBox_->setEditText(Ini(Inventory, QStringLiteral("PointSize"), QStringLiteral("14")));
    infoPointSizeBox_->setEditText(Ini(Inventory, QStringLiteral("InfoPointSize"), QStringLiteral("10")));
    leftFooterEdit_->setText(Ini(Inventory, QStringLiteral("FooterLeft")));
    rightFooterEdit_->setText(Ini(Inventory, QStringLiteral("FooterRight")));

    QStringList choices{QStringLiteral("ABC's..."), QStringLiteral("Numerals"), QStringLiteral("Symbols")};
    for (int i = 1; i <= 8; ++i)
        choices << QStringLiteral("Quote #%1").arg(i);
    const QString sections[2] = {Inventory, SpecSheets};
    for (int i = 0; i < 2; ++i) {
        sampleTextBoxes_[i]->addItems(choices);  // previews the first choice; another is previewed as set
        const int stored = ReadIniInt(sections[i], QStringLiteral("QuoteIndex"), 0, IniFile);
        sampleTextBoxes_[i]->setCurrentIndex(stored >= 0 && stored < choices.size() ? stored : 0);
        if (i == 0)
            sheetHeaderEdit_->setText(Ini(SpecSheets, QStringLiteral("Header")));
    }

    for (int i = 0; i < 8; ++i)
        quoteEdits_[i]->setText(Ini(Quotes, QStringLiteral("QUOTE%1").arg(i + 1)));

    for (int i = 0; i < 2; ++i) {
        try {
            paragraphEdits_[i]->setPlainText(ReadParagraph(i + 1));
        } catch (const ParagraphError&) {
            paragraphEdits_[i]->clear();  // no file yet: the box starts empty
        }
    }
    ShowCurrentTab();
}

int OptionsDialog::CurrentTab() const { return tabs_->currentIndex(); }

void OptionsDialog::SelectTab(Tab tab)
{
    if (CurrentTab() == int(tab))
        ShowCurrentTab();
    else
        tabs_->setCurrentIndex(int(tab));
}

void OptionsDialog::DisableFontKinds()
{
    for (QCheckBox* box : {trueTypeCheck_, typeOneCheck_, printerFontsCheck_})
        box->setEnabled(false);
}

void OptionsDialog::ShowCurrentTab()
{
    const int tab = CurrentTab();
    for (int i = 0; i < 5; ++i)
        tabPages_[i]->setVisible(i == tab);
    tabPages_[tab]->raise();
    for (QPushButton* b : {okButton_, cancelButton_, helpButton_})
        b->raise();
    QLineEdit* first = nullptr;
    switch (Tab(tab)) {
    case Tab::General: first = userNameEdit_; break;
    case Tab::Catalogs: first = leftFooterEdit_; break;
    case Tab::SampleSheets: first = sheetHeaderEdit_; break;
    case Tab::Quotes: first = quoteEdits_[0]; break;
    default: paragraphEdits_[0]->setFocus(); return;
    }
    first->setFocus();
    first->selectAll();
}

void OptionsDialog::ShowSampleText(int index)
{
    const int choice = sampleTextBoxes_[index]->currentIndex();
    // The stored quotation as last saved: edits not confirmed with OK are not shown.
    samplePreviewEdits_[index]->setPlainText(choice < 0 ? QString() : SampleTextChoice(choice));
}

void OptionsDialog::BrowseForTypeManager()
{
    QString folder = UserDataDir;
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    const QString file = Sys().dialogs->OpenFile(
        ForLinux(QStringLiteral("Select file name and path for Adobe Type Manger")), QStringLiteral("EXE"),
        folder, QString());
    if (!file.isEmpty())
        atmPathEdit_->setText(LowerCasePath(file));
}

void OptionsDialog::ConfirmChanges()
{
    if (!trueTypeCheck_->isChecked() && !typeOneCheck_->isChecked() && !printerFontsCheck_->isChecked()) {
        SelectTab(Tab::General);
        Sys().messages->MsgBox(
            QStringLiteral("You have not selected any fonts to display!\n\n"
                           "Please select a combination of TrueType, Adobe Type 1 (if available) and "
                           "printer fonts to display."),
            vbInformation, QStringLiteral("Glyphwick"));
        trueTypeCheck_->setFocus();
        return;
    }
    if (Val(resetPagesEdit_->text()) < 1) {
        SelectTab(Tab::General);
        Sys().messages->MsgBox(
            QStringLiteral("Please select a number greater than zero for the Printer Reset."),
            vbCritical, QStringLiteral("Glyphwick"));
        resetPagesEdit_->selectAll();
        resetPagesEdit_->setFocus();
        return;
    }
    if (SaveSettings())
        accept();
}

bool OptionsDialog::SaveSettings()
{
    QDir().mkpath(ProgramFolderOfIni());
    // Checked before the first write, so a refusal leaves every file as it was.
    for (const QString& path : {IniFile, ParagraphPath(1), ParagraphPath(2)}) {
        if (!CanReplace(path)) {
            Sys().messages->MsgBox(
                "The options could not be saved: \"" + QDir::toNativeSeparators(path)
                    + "\" cannot be written.\n\nPlease check that its folder and the file may be "
                      "written, then press OK again.",
                vbCritical, QStringLiteral("Glyphwick"));
            return false;
        }
    }
    // One replacement of the settings file for the whole dialog.
    std::optional<IniBatch> batch(std::in_place, IniFile);
    auto write = [](const QString& section, const QString& key, const QString& value) {
        WriteIniString(section, key, value, IniFile);
    };
    auto flag = [](const QCheckBox* box) { return QString::number(box->isChecked() ? 1 : 0); };
    write(Inventory, QStringLiteral("EndDoc"), resetPagesEdit_->text());
    write(GW, QStringLiteral("UserName"), userNameEdit_->text());
    write(GW, QStringLiteral("ATMpath"), atmPathEdit_->text());
    write(GW, QStringLiteral("ShowTrueType"), flag(trueTypeCheck_));
    write(GW, QStringLiteral("ShowDevice"), flag(printerFontsCheck_));
    write(GW, QStringLiteral("ShowATM"), flag(typeOneCheck_));
    write(Inventory, QStringLiteral("FooterLeft"), leftFooterEdit_->text());
    write(Inventory, QStringLiteral("FooterRight"), rightFooterEdit_->text());
    write(Inventory, QStringLiteral("PointSize"), pointSizeBox_->currentText());
    write(Inventory, QStringLiteral("InfoPointSize"), infoPointSizeBox_->currentText());
    write(Inventory, QStringLiteral("QuoteIndex"), QString::number(sampleTextBoxes_[0]->currentIndex()));
    write(SpecSheets, QStringLiteral("Header"), sheetHeaderEdit_->text());
    write(SpecSheets, QStringLiteral("QuoteIndex"), QString::number(sampleTextBoxes_[1]->currentIndex()));
    for (int i = 0; i < 8; ++i)
        write(Quotes, QStringLiteral("Quote%1").arg(i + 1), quoteEdits_[i]->text());
    batch.reset();

    bool ok = true;
    for (int i = 0; i < 2; ++i) {
        QSaveFile file(ParagraphPath(i + 1));
        ok = file.open(QIODevice::WriteOnly)
             && file.write((paragraphEdits_[i]->toPlainText() + "\n").toUtf8()) >= 0 && file.commit()
             && ok;
    }
    if (!ok)
        Sys().messages->MsgBox(QStringLiteral("The paragraph texts could not be saved."), vbCritical,
                               QStringLiteral("Glyphwick"));
    return ok;
}

void OptionsDialog::ShowHelp()
{
    ShowHelpContext(kTabContexts[CurrentTab()]);
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched == resetPagesEdit_) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        int code = 0;
        switch (key->key()) {
        case Qt::Key_Backspace: code = 8; break;
        case Qt::Key_Tab: case Qt::Key_Backtab: code = 9; break;
        case Qt::Key_Return: case Qt::Key_Enter: code = 13; break;
        default: code = text.size() == 1 && text.at(0).isPrint() ? text.at(0).unicode() : 0; break;
        }
        // Keys that type nothing (arrows, Delete, Escape, shortcuts) pass as they are.
        if (code != 0 && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            && !IsResetKey(code))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::keyPressEvent(QKeyEvent* event)
{
    // F1 is Help (on the press: text boxes take the release).
    if (event->key() == Qt::Key_F1) {
        ShowHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace gw
