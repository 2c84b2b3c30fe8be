#include "shell/formCapture.h"

#include <QCursor>
#include <QMouseEvent>
#include <QRegion>
#include <QTimer>

TfrmCapture::TfrmCapture(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setObjectName(QStringLiteral("frmCapture"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    QFont tahoma = font();
    tahoma.setFamily(QStringLiteral("Tahoma"));
    setFont(tahoma);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TfrmCapture::Timer1Timer);
}

void TfrmCapture::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmCapture::FormShow()
{
    const int w = width(), h = height();
    setMask(QRegion(0, 0, w, h).subtracted(QRegion(1, 1, std::max(0, w - 2), std::max(0, h - 2))));
    FollowPointer(QCursor::pos());
    Timer1->start();
}

void TfrmCapture::FollowPointer(const QPoint& pointer)
{
    move(pointer.x() - width() + 1, pointer.y() - height() + 1);
}

void TfrmCapture::Timer1Timer()
{
    FollowPointer(QCursor::pos());
}

void TfrmCapture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FormClick();
    else
        QDialog::mousePressEvent(event);
}

void TfrmCapture::FormClick()
{
    Timer1->stop();
    accept();
}
