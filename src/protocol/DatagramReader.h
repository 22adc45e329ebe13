#pragma once

#include "protocol/Datagram.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace arx {

// Reads the datagrams waiting on a non-blocking UDP socket, up to `capacity` with one
// system call, each into a Datagram of its own: its first 128 bytes, zero after its end, its
// sender, and its real length on the wire, so that empty and over-long ones can be told.
class DatagramReader {
public:
    DatagramReader(int socket, std::size_t capacity);

    // Reads what is waiting; the number of datagrams read, 0 when none was (or on an error).
    std::size_t read();

    // Of the last read: datagram i, with `length` its wire length cut to 128.
    Datagram &datagram(std::size_t i) { return datagrams_[i]; }
    std::size_t wireLength(std::size_t i) const { return messages_[i].msg_len; }

private:
    int socket_;
    std::vector<Datagram> datagrams_;
    std::vector<mmsghdr> messages_;
    std::vector<iovec> buffers_;
    std::vector<sockaddr_in> senders_;
    // The text of the sender seen last, which is most often the next one's too.
    in_addr_t lastSender_ = 0;
    std::string lastSenderText_;
};

} // namespace arx
