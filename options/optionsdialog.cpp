#include "options/optionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
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
constexpr int kTabContexts[6] = {0, 550, 555, 560, 565, 570};

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
    Form_Load();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::CreateControls()
{
    auto* outer = new QVBoxLayout(this);
    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setExpanding(false);
    for (const char* caption : {"&General", "&Font Catalogs", "&Sample Sheets", "&Quotes",
                                "Paragraph &Text"})
        TabStrip1->addTab(QString::fromLatin1(caption));
    outer->addWidget(TabStrip1);

    auto* client = new QFrame(this);
    client->setObjectName(QStringLiteral("TabClient"));
    client->setFrameShape(QFrame::StyledPanel);
    auto* stack = new QGridLayout(client);
    for (int i = 1; i <= 5; ++i) {
        auto* frame = new QFrame(client);
        frame->setObjectName(QStringLiteral("frmContainer%1").arg(i));
        frame->setFrameShape(QFrame::NoFrame);
        stack->addWidget(frame, 0, 0);
        frmContainer[i] = frame;
    }
    outer->addWidget(client, 1);

    // General
    {
        QWidget* f = frmContainer[1];
        auto* g = new QGridLayout(f);
        txtUserName = LineEdit("txtUserName", f);
        g->addWidget(Caption(QStringLiteral("&User Name"), txtUserName, f), 0, 0);
        g->addWidget(txtUserName, 0, 1, 1, 3);
        txtReset = LineEdit("txtReset", f);
        txtReset->setMaximumWidth(60);
        g->addWidget(Caption(QStringLiteral("&Reset printer every"), txtReset, f), 1, 0);
        g->addWidget(txtReset, 1, 1);
        g->addWidget(new QLabel(QStringLiteral("pages"), f), 1, 2);
        auto* show = new QGroupBox(QStringLiteral("Show Font Types"), f);
        auto* sv = new QVBoxLayout(show);
        chkTrueType = new QCheckBox(QStringLiteral("Show &TrueType fonts"), show);
        chkTrueType->setObjectName(QStringLiteral("chkTrueType"));
        chkATM = new QCheckBox(ForLinux(QStringLiteral("Show &Adobe Type 1 (ATM) fonts")), show);
        chkATM->setObjectName(QStringLiteral("chkATM"));
        chkDevice = new QCheckBox(QStringLiteral("Show &Printer (hardware) fonts"), show);
        chkDevice->setObjectName(QStringLiteral("chkDevice"));
        for (QCheckBox* c : {chkTrueType, chkATM, chkDevice})
            sv->addWidget(c);
        g->addWidget(show, 2, 0, 1, 4);
        txtATMPath = LineEdit("txtATMPath", f);
        cmdATM = new QPushButton(QStringLiteral("..."), f);
        cmdATM->setObjectName(QStringLiteral("cmdATM"));
        cmdATM->setFixedWidth(32);
        cmdATM->setAutoDefault(false);
        g->addWidget(Caption(ForLinux(QStringLiteral("&ATM path")), txtATMPath, f), 3, 0);
        g->addWidget(txtATMPath, 3, 1, 1, 2);
        g->addWidget(cmdATM, 3, 3);
        g->setColumnStretch(2, 1);
        g->setRowStretch(4, 1);
    }

    auto quoteBlock = [this](int index, QWidget* f, QGridLayout* g, int row) {
        cboQuotes[index] = new QComboBox(f);
        cboQuotes[index]->setObjectName(QStringLiteral("cboQuotes%1").arg(index));
        g->addWidget(Caption(QStringLiteral("&Sample Text"), cboQuotes[index], f), row, 0);
        g->addWidget(cboQuotes[index], row, 1);
        txtQuoteSample[index] = new QPlainTextEdit(f);
        txtQuoteSample[index]->setObjectName(QStringLiteral("txtQuoteSample%1").arg(index));
        txtQuoteSample[index]->setReadOnly(true);  // every key is discarded
        txtQuoteSample[index]->setFocusPolicy(Qt::ClickFocus);
        txtQuoteSample[index]->setMaximumHeight(60);
        g->addWidget(txtQuoteSample[index], row + 1, 0, 1, 2);
    };

    // Font Catalogs
    {
        QWidget* f = frmContainer[2];
        auto* g = new QGridLayout(f);
        txtLeftFooter = LineEdit("txtLeftFooter", f);
        txtRightFooter = LineEdit("txtRightFooter", f);
        g->addWidget(Caption(QStringLiteral("&Left Footer"), txtLeftFooter, f), 0, 0);
        g->addWidget(txtLeftFooter, 0, 1);
        g->addWidget(Caption(QStringLiteral("&Right Footer"), txtRightFooter, f), 1, 0);
        g->addWidget(txtRightFooter, 1, 1);
        cmbPointSize = new QComboBox(f);
        cmbPointSize->setObjectName(QStringLiteral("cmbPointSize"));
        cmbPointSize->setEditable(true);
        cmbInfoPointSize = new QComboBox(f);
        cmbInfoPointSize->setObjectName(QStringLiteral("cmbInfoPointSize"));
        cmbInfoPointSize->setEditable(true);
        for (QComboBox* c : {cmbPointSize, cmbInfoPointSize}) {
            c->setInsertPolicy(QComboBox::NoInsert);
            c->setMaximumWidth(80);
        }
        g->addWidget(Caption(QStringLiteral("&Point Size"), cmbPointSize, f), 2, 0);
        g->addWidget(cmbPointSize, 2, 1, Qt::AlignLeft);
        g->addWidget(Caption(QStringLiteral("&Information point size"), cmbInfoPointSize, f), 3, 0);
        g->addWidget(cmbInfoPointSize, 3, 1, Qt::AlignLeft);
        quoteBlock(0, f, g, 4);
        g->setRowStretch(6, 1);
    }

    // Sample Sheets
    {
        QWidget* f = frmContainer[3];
        auto* g = new QGridLayout(f);
        txtSpecHeader = LineEdit("txtSpecHeader", f);
        g->addWidget(Caption(QStringLiteral("&Header / Footer"), txtSpecHeader, f), 0, 0);
        g->addWidget(txtSpecHeader, 0, 1);
        quoteBlock(1, f, g, 1);
        g->setRowStretch(3, 1);
    }

    // Quotes
    {
        QWidget* f = frmContainer[4];
        auto* g = new QGridLayout(f);
        for (int i = 0; i < 8; ++i) {
            txtQuote[i] = LineEdit("txtQuote", f);
            txtQuote[i]->setObjectName(QStringLiteral("txtQuote%1").arg(i));
            g->addWidget(Caption(QStringLiteral("Quote &%1").arg(i + 1), txtQuote[i], f), i, 0);
            g->addWidget(txtQuote[i], i, 1);
        }
        g->setRowStretch(8, 1);
    }

    // Paragraph Text
    {
        QWidget* f = frmContainer[5];
        auto* v = new QVBoxLayout(f);
        const char* captions[2] = {"&Paragraph Text #1", "Paragraph &Text #2"};
        for (int i = 0; i < 2; ++i) {
            txtParagraph[i] = new QPlainTextEdit(f);
            txtParagraph[i]->setObjectName(QStringLiteral("txtParagraph%1").arg(i));
            txtParagraph[i]->setTabChangesFocus(true);
            v->addWidget(Caption(QString::fromLatin1(captions[i]), txtParagraph[i], f));
            v->addWidget(txtParagraph[i]);
        }
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdHelp = new QPushButton(QStringLiteral("Help"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    for (QPushButton* b : {cmdOK, cmdCancel, cmdHelp})
        buttons->addWidget(b);
    outer->addLayout(buttons);
    // Every tab caption shows in full.
    resize(std::max(TwipsToPixels(6900), TabStrip1->sizeHint().width() + 40), TwipsToPixels(5700));

    connect(TabStrip1, &QTabBar::currentChanged, this, [this] { TabStrip1_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(cboQuotes[i], qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this, i] { cboQuotes_Click(i); });
    connect(cmdATM, &QPushButton::clicked, this, [this] { cmdATM_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });
    for (QLineEdit* box : {txtUserName, txtLeftFooter, txtRightFooter, txtReset})
        box->installEventFilter(this);
    for (QLineEdit* box : txtQuote)
        box->installEventFilter(this);
}

void OptionsDialog::Form_Load()
{
    CentreForm(this);

    txtUserName->setText(Ini(GW, QStringLiteral("UserName")));
    txtReset->setText(QString::number(ReadIniInt(Inventory, QStringLiteral("EndDoc"), 3, IniFile)));
    txtATMPath->setText(Ini(GW, QStringLiteral("ATMPath")));
    chkTrueType->setChecked(ReadIniInt(GW, QStringLiteral("ShowTrueType"), 1, IniFile) == 1);
    chkATM->setChecked(ReadIniInt(GW, QStringLiteral("ShowATM"), 1, IniFile) == 1);
    chkDevice->setChecked(ReadIniInt(GW, QStringLiteral("ShowDevice"), 1, IniFile) == 1);
    chkATM->setEnabled(ATMInstalled);

    for (const char* size : {"10", "12", "14", "16", "18", "20", "24", "36", "72"})
        cmbPointSize->addItem(QString::fromLatin1(size));
    cmbPointSize->setEditText(Ini(Inventory, QStringLiteral("PointSize"), QStringLiteral("14")));
    cmbInfoPointSize->setEditText(Ini(Inventory, QStringLiteral("InfoPointSize"), QStringLiteral("10")));
    txtLeftFooter->setText(Ini(Inventory, QStringLiteral("FooterLeft")));
    txtRightFooter->setText(Ini(Inventory, QStringLiteral("FooterRight")));

    QStringList choices{QStringLiteral("ABC's..."), QStringLiteral("Numerals"), QStringLiteral("Symbols")};
    for (int i = 1; i <= 8; ++i)
        choices << QStringLiteral("Quote #%1").arg(i);
    const QString sections[2] = {Inventory, SpecSheets};
    for (int i = 0; i < 2; ++i) {
        cboQuotes[i]->addItems(choices);
        const int stored = ReadIniInt(sections[i], QStringLiteral("QuoteIndex"), 0, IniFile);
        cboQuotes[i]->setCurrentIndex(-1);
        cboQuotes[i]->setCurrentIndex(stored >= 0 && stored < choices.size() ? stored : 0);
        if (i == 0)
            txtSpecHeader->setText(Ini(SpecSheets, QStringLiteral("Header")));
    }

    for (int i = 0; i < 8; ++i)
        txtQuote[i]->setText(Ini(Quotes, QStringLiteral("QUOTE%1").arg(i + 1)));

    for (int i = 0; i < 2; ++i) {
        try {
            txtParagraph[i]->setPlainText(ReadParagraph(i + 1));
        } catch (const ParagraphError&) {
            txtParagraph[i]->clear();  // no file yet: the box starts empty
        }
    }
    TabStrip1_Click();
}

int OptionsDialog::CurrentTab() const { return TabStrip1->currentIndex() + 1; }

void OptionsDialog::SelectTab(int tab)
{
    if (CurrentTab() == tab)
        TabStrip1_Click();
    else
        TabStrip1->setCurrentIndex(tab - 1);
}

void OptionsDialog::TabStrip1_Click()
{
    const int tab = CurrentTab();
    for (int i = 1; i <= 5; ++i)
        frmContainer[i]->setVisible(i == tab);
    frmContainer[tab]->raise();
    for (QPushButton* b : {cmdOK, cmdCancel, cmdHelp})
        b->raise();
    QLineEdit* first = nullptr;
    switch (tab) {
    case 1: first = txtUserName; break;
    case 2: first = txtLeftFooter; break;
    case 3: first = txtSpecHeader; break;
    case 4: first = txtQuote[0]; break;
    default: txtParagraph[0]->setFocus(); return;
    }
    first->setFocus();
    first->selectAll();
}

void OptionsDialog::cboQuotes_Click(int index)
{
    const int choice = cboQuotes[index]->currentIndex();
    // The stored quotation as last saved: edits not confirmed with OK are not shown.
    txtQuoteSample[index]->setPlainText(choice < 0 ? QString() : SampleTextChoice(choice));
}

void OptionsDialog::cmdATM_Click()
{
    QString folder = WinDir;
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    const QString file = Sys().dialogs->OpenFile(
        ForLinux(QStringLiteral("Select file name and path for Adobe Type Manger")), QStringLiteral("EXE"),
        folder, QString());
    if (!file.isEmpty())
        txtATMPath->setText(LowerCasePath(file));
}

bool OptionsDialog::cmdOK_Click()
{
    if (!chkTrueType->isChecked() && !chkATM->isChecked() && !chkDevice->isChecked()) {
        SelectTab(1);
        Sys().messages->MsgBox(
            QStringLiteral("You have not selected any fonts to display!\n\n"
                           "Please select a combination of TrueType, Adobe Type 1 (if available) and "
                           "printer fonts to display."),
            vbInformation, QStringLiteral("Glyphwick"));
        chkTrueType->setFocus();
        return false;
    }
    if (Val(txtReset->text()) < 1) {
        SelectTab(1);
        Sys().messages->MsgBox(
            QStringLiteral("Please select a number greater than zero for the Printer Reset."),
            vbCritical, QStringLiteral("Glyphwick"));
        txtReset->selectAll();
        txtReset->setFocus();
        return false;
    }
    if (!SaveSettings())
        return false;
    accept();
    return true;
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
    write(Inventory, QStringLiteral("EndDoc"), txtReset->text());
    write(GW, QStringLiteral("UserName"), txtUserName->text());
    write(GW, QStringLiteral("ATMpath"), txtATMPath->text());
    write(GW, QStringLiteral("ShowTrueType"), flag(chkTrueType));
    write(GW, QStringLiteral("ShowDevice"), flag(chkDevice));
    write(GW, QStringLiteral("ShowATM"), flag(chkATM));
    write(Inventory, QStringLiteral("FooterLeft"), txtLeftFooter->text());
    write(Inventory, QStringLiteral("FooterRight"), txtRightFooter->text());
    write(Inventory, QStringLiteral("PointSize"), cmbPointSize->currentText());
    write(Inventory, QStringLiteral("InfoPointSize"), cmbInfoPointSize->currentText());
    write(Inventory, QStringLiteral("QuoteIndex"), QString::number(cboQuotes[0]->currentIndex()));
    write(SpecSheets, QStringLiteral("Header"), txtSpecHeader->text());
    write(SpecSheets, QStringLiteral("QuoteIndex"), QString::number(cboQuotes[1]->currentIndex()));
    for (int i = 0; i < 8; ++i)
        write(Quotes, QStringLiteral("Quote%1").arg(i + 1), txtQuote[i]->text());
    batch.reset();

    bool ok = true;
    for (int i = 0; i < 2; ++i) {
        QSaveFile file(ParagraphPath(i + 1));
        ok = file.open(QIODevice::WriteOnly)
             && file.write((txtParagraph[i]->toPlainText() + "\n").toUtf8()) >= 0 && file.commit()
             && ok;
    }
    if (!ok)
        Sys().messages->MsgBox(QStringLiteral("The paragraph texts could not be saved."), vbCritical,
                               QStringLiteral("Glyphwick"));
    return ok;
}

void OptionsDialog::cmdCancel_Click()
{
    reject();
}

void OptionsDialog::cmdHelp_Click()
{
    ShowHelpContext(kTabContexts[CurrentTab()]);
}

bool OptionsDialog::txtReset_KeyPress(int key)
{
    return (key >= '0' && key <= '9') || key == 8 || key == 9 || key == 13;
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        // The GotFocus handlers of the text boxes.
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            SelectAllOnTab(box, static_cast<QFocusEvent*>(event)->reason());
    } else if (event->type() == QEvent::KeyPress && watched == txtReset) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        int code = 0;
        switch (key->key()) {
        case Qt::Key_Backspace: code = 8; break;
        case Qt::Key_Tab: case Qt::Key_Backtab: code = 9; break;
        case Qt::Key_Return: case Qt::Key_Enter: code = 13; break;
        default: code = text.size() == 1 ? text.at(0).unicode() : 0; break;
        }
        // Keys that type nothing (arrows, Delete, shortcuts) pass as they are.
        if (code != 0 && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            && !txtReset_KeyPress(code))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::keyPressEvent(QKeyEvent* event)
{
    // Form_KeyUp: F1 is Help (on the press: text boxes take the release).
    if (event->key() == Qt::Key_F1) {
        cmdHelp_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace gw
