#include "ControlConnection.h"

#include <QElapsedTimer>

namespace arxctl {

std::string Message::valueText() const
{
    std::string text;
    for (const arx::ControlToken &value : values) {
        if (!text.empty())
            text += ' ';
        text += value.text;
    }
    return text;
}

std::optional<Message> readMessage(const std::string &line)
{
    const auto words = arx::messageWords(line);
    if (!words || words->size() < 3)
        return std::nullopt;
    Message message { .line = line,
        .kind = (*words)[0].text,
        .index = arx::echoToken((*words)[1]),
        .parameter = (*words)[2].text,
        .values = { words->begin() + 3, words->end() } };
    return message;
}

bool ControlConnection::open(
    const QString &host, quint16 port, std::chrono::milliseconds timeout, std::string &error)
{
    socket_.connectToHost(host, port);
    if (socket_.waitForConnected(static_cast<int>(timeout.count())))
        return true;
    error = socket_.errorString().toStdString();
    return false;
}

bool ControlConnection::sendLine(const std::string &line)
{
    const std::string bytes = line + "\r\n";
    if (socket_.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0)
        return false;
    return socket_.waitForBytesWritten(1000) || socket_.bytesToWrite() == 0;
}

std::optional<Message> ControlConnection::next(std::chrono::milliseconds timeout, bool &closed)
{
    closed = false;
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        const std::size_t end = pending_.find_first_of("\r\n");
        if (end != std::string::npos) {
            const std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            if (const auto message = readMessage(line))
                return message;
            continue;
        }
        if (socket_.bytesAvailable() == 0) {
            const qint64 left = timeout.count() - elapsed.elapsed();
            if (socket_.state() != QAbstractSocket::ConnectedState) {
                closed = true;
                return std::nullopt;
            }
            if (left <= 0)
                return std::nullopt;
            if (!socket_.waitForReadyRead(static_cast<int>(left))
                && socket_.state() != QAbstractSocket::ConnectedState) {
                closed = socket_.bytesAvailable() == 0;
                if (closed)
                    return std::nullopt;
            }
        }
        const QByteArray bytes = socket_.readAll();
        pending_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
}

} // namespace arxctl
