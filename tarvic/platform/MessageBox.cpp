#include "tarvic/platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <cstdio>

#include "tarvic/platform/HandlerSlot.h"

namespace tarvic {
namespace {

QMessageBox::Icon ToQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Stop: break;
    }
    return QMessageBox::Critical;
}

void DefaultHandler(const std::string& text, const std::string& caption, MessageIcon icon)
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return;
    }
    auto show = [qtText = QString::fromLatin1(text), qtCaption = QString::fromLatin1(caption), icon] {
        QMessageBox box(ToQt(icon), qtCaption, qtText, QMessageBox::Ok);
        box.exec();
    };
    if (QThread::currentThread() == app->thread())
        show();
    else
        QMetaObject::invokeMethod(app, show, Qt::QueuedConnection);
}

HandlerSlot<MessageBoxHandler>& Handler()
{
    static HandlerSlot<MessageBoxHandler> slot;
    return slot;
}

}  // namespace

void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon)
{
    if (const auto handler = Handler().Get())
        (*handler)(text, caption, icon);
    else
        DefaultHandler(text, caption, icon);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) { return Handler().Set(std::move(handler)); }

}  // namespace tarvic
