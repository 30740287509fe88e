#include "ezx/zpopup.h"

#include "ezx/zkeys.h"
#include "ezx/zlabel.h"
#include "ezx/zskin.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int frameWidth = 2;
constexpr int maxTitleLines = 2;

// The soft-key bar of a popup: the same dark strip as a window's.
class PopupKeyBar : public QWidget
{
public:
    explicit PopupKeyBar(QWidget* parent)
        : QWidget(parent)
    {
        setFixedHeight(zskin::softKeyBarHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, zskin::softKeyTop());
        g.setColorAt(1, zskin::softKeyBottom());
        p.fillRect(rect(), g);
    }
};

QPushButton* softKeyButton(QWidget* parent)
{
    auto* b = new QPushButton(parent);
    b->setFlat(true);
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setFocusPolicy(Qt::NoFocus);
    b->setCursor(Qt::PointingHandCursor);
    b->setStyleSheet(QStringLiteral("QPushButton { color: %1; background: transparent; border: none;"
                                    " font-weight: bold; padding: 0 8px; }"
                                    "QPushButton:pressed { color: %2; }")
                         .arg(zskin::softKeyText().name(), zskin::rule().name()));
    return b;
}
}

ZPopup::ZPopup(int type, QWidget* parent, const char* name, bool modal, int x, int flags)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    Q_UNUSED(type);
    Q_UNUSED(x);
    Q_UNUSED(flags);
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(frameWidth, frameWidth, frameWidth, frameWidth);
    outer->setSpacing(0);
    outer->setSizeConstraint(QLayout::SetNoConstraint);

    // A long title (a setting's) wraps onto a second line rather than
    // running off the popup.
    m_title = new ZLabel(QString(), this);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_title->setPadding(8, 5, 8, 5);
    m_title->setMaxLines(maxTitleLines);
    m_title->setFontColor(zskin::popupFrame());
    m_title->hide();
    outer->addWidget(m_title);

    auto* body = new QWidget(this);
    m_content = new QVBoxLayout(body);
    m_content->setContentsMargins(8, 6, 8, 8);
    m_content->setSpacing(6);
    outer->addWidget(body, 1);

    m_keyBar = new PopupKeyBar(this);
    auto* keys = new QHBoxLayout(m_keyBar);
    keys->setContentsMargins(0, 0, 0, 0);
    m_left = softKeyButton(m_keyBar);
    m_right = softKeyButton(m_keyBar);
    keys->addWidget(m_left, 0, Qt::AlignLeft);
    keys->addStretch(1);
    keys->addWidget(m_right, 0, Qt::AlignRight);
    outer->addWidget(m_keyBar);
    connect(m_left, &QPushButton::clicked, this, [this] { accept(); });
    connect(m_right, &QPushButton::clicked, this, [this] { reject(); });

    QPalette pal = palette();
    pal.setColor(QPalette::Window, zskin::popupBackground());
    pal.setColor(QPalette::WindowText, zskin::text());
    setPalette(pal);
    setAutoFillBackground(false);
}

ZPopup::~ZPopup() = default;

int ZPopup::exec()
{
    return QDialog::exec();
}

void ZPopup::setTitle(const QString& title)
{
    m_title->setText(title);
    // A blank title takes no room.
    m_title->setVisible(!title.trimmed().isEmpty());
}

QString ZPopup::title() const
{
    return m_title->text();
}

void ZPopup::setSoftkeyTextLeft(const QString& text)
{
    m_left->setText(text);
}

void ZPopup::setSoftkeyTextRight(const QString& text)
{
    m_right->setText(text);
}

QString ZPopup::softkeyTextLeft() const
{
    return m_left->text();
}

QString ZPopup::softkeyTextRight() const
{
    return m_right->text();
}

QPushButton* ZPopup::softkeyButton(int index) const
{
    return index == 0 ? m_left : index == 1 ? m_right
                                            : nullptr;
}

void ZPopup::insertChild(QWidget* widget, int index)
{
    if (!widget)
        return;
    QWidget* body = m_content->parentWidget();
    if (widget->parentWidget() != body)
        widget->setParent(body);
    const int count = m_content->count();
    m_content->insertWidget(index < 0 || index > count ? count : index, widget);
    widget->show();
}

void ZPopup::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == zkeys::LeftSoft || zkeys::isSelect(key)) {
        event->accept();
        accept();
    } else if (key == zkeys::RightSoft) {
        event->accept();
        reject();
    } else {
        QDialog::keyPressEvent(event);
    }
}

void ZPopup::showEvent(QShowEvent* event)
{
    placeOverWindow();
    QDialog::showEvent(event);
}

void ZPopup::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), zskin::popupBackground());
    p.setPen(QPen(zskin::popupFrame(), frameWidth));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(frameWidth / 2.0, frameWidth / 2.0, -frameWidth / 2.0,
                                       -frameWidth / 2.0));
    if (m_title->isVisible()) {
        const int y = m_title->geometry().bottom();
        p.setPen(zskin::rule());
        p.drawLine(frameWidth + 4, y, width() - frameWidth - 5, y);
    }
}

void ZPopup::placeOverWindow()
{
    // Over the window that the popup belongs to; a parent that is not on
    // screen (an item, a hidden helper) gives way to the active window.
    QWidget* win = parentWidget() ? parentWidget()->window() : nullptr;
    if (!win || !win->isVisible())
        win = QApplication::activeWindow();
    if (win == this)
        win = nullptr;

    const int width = win ? win->width() : zskin::screenWidth;
    const int height = win ? win->height() : zskin::screenHeight;
    const int wanted = layout()->heightForWidth(width) > 0 ? layout()->heightForWidth(width)
                                                           : sizeHint().height();
    const int h = std::min(wanted, height - zskin::titleBarHeight);
    resize(width, h);
    const QPoint topLeft = win ? win->mapToGlobal(QPoint(0, height - h)) : QPoint(0, height - h);
    move(topLeft);
}

QString ZPopup::phoneText(const char* id, const char* english)
{
    const QString text = QCoreApplication::translate("ZPopup", id, english);
    if (text == QLatin1String(id))
        return QString::fromUtf8(english);
    return text;
}
