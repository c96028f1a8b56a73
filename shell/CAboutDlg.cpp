#include "shell/CAboutDlg.h"

#include <QIcon>

#include "res/CorvaleVersion.h"
#include "shell/DialogFont.h"
#include "ui_CAboutDlg.h"

namespace corvale {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CAboutDlg>()) {
    m_ui->setupUi(this);
    setFont(DialogFont());
    m_ui->label_1->setText("Corvale - Version " CORVALE_VERSION);
    m_ui->labelIcon->setPixmap(QIcon(":/corvale.svg").pixmap(m_ui->labelIcon->size()));
    connect(m_ui->buttonOk, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutDlg::~CAboutDlg() = default;

}  // namespace corvale
