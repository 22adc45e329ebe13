#include "protocol/DatagramReader.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace arx {

DatagramReader::DatagramReader(int socket, std::size_t capacity)
    : socket_(socket)
    , datagrams_(capacity)
    , messages_(capacity)
    , buffers_(capacity)
    , senders_(capacity)
{
    for (std::size_t i = 0; i < capacity; ++i) {
        buffers_[i] = { datagrams_[i].bytes.data(), datagrams_[i].bytes.size() };
        messages_[i].msg_hdr.msg_iov = &buffers_[i];
        messages_[i].msg_hdr.msg_iovlen = 1;
        messages_[i].msg_hdr.msg_name = &senders_[i];
    }
}

std::size_t DatagramReader::read()
{
    for (mmsghdr &message : messages_) {
        message.msg_hdr.msg_namelen = sizeof(sockaddr_in);
        message.msg_hdr.msg_flags = 0;
    }
    // MSG_TRUNC makes each message's length the datagram's real length, so an over-long
    // datagram is recognised instead of being taken cut short.
    int count = -1;
    do
        count = ::recvmmsg(socket_, messages_.data(), static_cast<unsigned>(messages_.size()),
            MSG_TRUNC | MSG_DONTWAIT, nullptr);
    while (count < 0 && errno == EINTR);
    if (count <= 0)
        return 0;

    const auto read = static_cast<std::size_t>(count);
    for (std::size_t i = 0; i < read; ++i) {
        Datagram &datagram = datagrams_[i];
        datagram.length = std::min<std::size_t>(messages_[i].msg_len, DatagramCapacity);
        // The same as clearing the buffer before the read: nothing of an earlier datagram
        // shows after this one's end.
        std::fill(datagram.bytes.begin() + static_cast<std::ptrdiff_t>(datagram.length),
            datagram.bytes.end(), 0);
        const sockaddr_in &sender = senders_[i];
        if (lastSenderText_.empty() || sender.sin_addr.s_addr != lastSender_) {
            char text[INET_ADDRSTRLEN] = {};
            inet_ntop(AF_INET, &sender.sin_addr, text, sizeof text);
            lastSender_ = sender.sin_addr.s_addr;
            lastSenderText_ = text;
        }
        datagram.sender = lastSenderText_;
        datagram.senderPort = ntohs(sender.sin_port);
    }
    return read;
}

} // namespace arx
