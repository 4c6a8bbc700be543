// The worker thread of the transfers and the local event loop that waits for each step.
#include "app/transfer_thread.h"

#include "device/device_link.h"

#include <QEventLoop>

namespace lumo {

TransferThread::TransferThread(QObject* parent)
    : QObject(parent)
    , m_worker(new QObject)
{
    m_thread.setObjectName(QStringLiteral("transfer"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

TransferThread::~TransferThread()
{
    cancel();
    m_thread.quit();
    m_thread.wait();
}

LinkResult TransferThread::run(DeviceLink* link, const std::function<LinkResult()>& step, std::function<void()> stop)
{
    m_link = link;
    m_stop = std::move(stop);
    m_running = true;
    m_cancelRequested = false;
    QEventLoop loop;
    connect(this, &TransferThread::stepEnded, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    QMetaObject::invokeMethod(m_worker, [this, &step] {
        m_result = step();
        emit stepEnded();
    }, Qt::QueuedConnection);
    loop.exec();
    m_running = false;
    m_link = nullptr;
    m_stop = nullptr;
    // A cancel that came while a step without a link ran (opening the MIDI system) counts even
    // when the step ended well.
    if (m_cancelRequested && m_result.ok() && link == nullptr)
        m_result = LinkResult::failure(LinkError::Cancelled);
    return m_result;
}

void TransferThread::cancel()
{
    if (!m_running)
        return;
    m_cancelRequested = true;
    if (m_link)
        m_link->cancel();
    if (m_stop)
        m_stop();
}

} // namespace lumo
