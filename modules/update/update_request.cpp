// The update check's request over Qt Network (module tolvemar_update).

#include "shell/qt/update_request.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

namespace {
// A server that stops sending ends the check after this long.
constexpr int kTransferTimeoutMs = 60000;
// Bytes Qt may hold for us between two reads.
constexpr qint64 kReadBufferSize = 64 * 1024;

class NetworkUpdateRequest final : public UpdateRequest {
public:
    NetworkUpdateRequest(const QUrl& address, QObject* owner, std::function<void()> readyRead,
                         std::function<void()> finished) {
        QUrl url = address;
        if (url.path().isEmpty()) url.setPath(QStringLiteral("/"));
        QNetworkRequest request(url);
        // Each header value starts with a blank, so the lines read
        // "Referer:  Tolvemar" and "User-Agent:  Mozilla/Tolvemar".
        request.setRawHeader("Referer", " Tolvemar");
        request.setRawHeader("User-Agent", " Mozilla/Tolvemar");
        request.setTransferTimeout(kTransferTimeoutMs);
        auto* manager = new QNetworkAccessManager(owner);
        m_reply = manager->post(request, QByteArray());
        m_reply->setReadBufferSize(kReadBufferSize);
        QObject::connect(m_reply, &QNetworkReply::readyRead, &m_context, std::move(readyRead));
        QObject::connect(m_reply, &QNetworkReply::finished, &m_context, std::move(finished));
    }

    // May run inside one of the reply's own signals: the reply is deleted
    // later, and its manager with the owner.
    ~NetworkUpdateRequest() override {
        if (!m_reply) return;
        m_reply->disconnect(&m_context);
        m_reply->abort();
        m_reply->deleteLater();
    }

    qint64 BytesAvailable() const override { return m_reply ? m_reply->bytesAvailable() : 0; }
    QByteArray Read(qint64 maxSize) override { return m_reply ? m_reply->read(maxSize) : QByteArray(); }
    bool TransportFailed() const override {
        if (!m_reply) return true;
        const int code = static_cast<int>(m_reply->error());
        return (code >= 1 && code <= 199) || (code >= 301 && code <= 399);
    }

private:
    QObject m_context;  // receiver of the reply's signals
    QPointer<QNetworkReply> m_reply;
};
}  // namespace

extern "C" Q_DECL_EXPORT UpdateRequest* TolvemarPostUpdateRequest(const QUrl& address, QObject* owner,
                                                                  std::function<void()> readyRead,
                                                                  std::function<void()> finished) {
    return new NetworkUpdateRequest(address, owner, std::move(readyRead), std::move(finished));
}

// The entry point's type must stay the one the program calls.
static_assert(std::is_same_v<decltype(&TolvemarPostUpdateRequest), PostUpdateRequestFn>);
