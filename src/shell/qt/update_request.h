// The network side of the update check. It lives in the module
// tolvemar_update, which links Qt Network and is loaded when the check
// starts, so the network libraries are not loaded with the program.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>

#include <functional>

class UpdateRequest {
public:
    virtual ~UpdateRequest() = default;  // aborts a request still running
    virtual qint64 BytesAvailable() const = 0;
    virtual QByteArray Read(qint64 maxSize) = 0;
    // The connection itself failed (as opposed to an HTTP error status).
    virtual bool TransportFailed() const = 0;
};

// The module's one entry point: sends the POST to `address` and reports
// through the two callbacks. The network objects are children of `owner`.
// Returns null when the request cannot be made.
using PostUpdateRequestFn = UpdateRequest* (*)(const QUrl& address, QObject* owner,
                                               std::function<void()> readyRead,
                                               std::function<void()> finished);
inline constexpr char kPostUpdateRequestEntry[] = "TolvemarPostUpdateRequest";
