// The worker thread of the transfers.
#include "app/transfer_thread.h"

#include "device/device_link.h"

namespace lumo {

TransferThread::TransferThread(QObject* parent)
    : QObject(parent)
    , m_worker(new TransferWorker)
{
    qRegisterMetaType<LinkResult>();
    m_thread.setObjectName(QStringLiteral("transfer"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &TransferWorker::finished, this, &TransferThread::ended, Qt::QueuedConnection);
    m_thread.start();
}

TransferThread::~TransferThread()
{
    cancel();
    m_thread.quit();
    m_thread.wait();
}

void TransferThread::start(DeviceLink* link, std::function<LinkResult()> step, std::function<void(LinkResult)> done,
                           std::function<void()> stop)
{
    m_link = link;
    m_stop = std::move(stop);
    m_done = std::move(done);
    m_running = true;
    m_cancelRequested = false;
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, step = std::move(step)] { worker->run(step); },
                              Qt::QueuedConnection);
}

void TransferThread::ended(LinkResult result)
{
    m_running = false;
    // A cancel that came while a step without a link ran (opening the MIDI system) counts even
    // when the step ended well.
    if (m_cancelRequested && result.ok() && m_link == nullptr)
        result = LinkResult::failure(LinkError::Cancelled);
    m_link = nullptr;
    m_stop = nullptr;
    std::exchange(m_done, nullptr)(std::move(result));
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
