// A loss-and-delay relay for measuring a shared sky over a bad network, on
// the loopback only: datagrams from one client to 127.0.0.1:LISTEN go on to
// 127.0.0.1:TARGET and the answers back, each dropped with the given chance
// and held for DELAY +- JITTER milliseconds (uniformly, so that some
// overtake others). It stops by itself after SECONDS.
//
//   udp-relay LISTEN TARGET LOSS DELAY_MS JITTER_MS SECONDS
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

struct Held {
    double due;
    bool toTarget;
    std::vector<char> bytes;
};

static double NowS()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + t.tv_nsec * 1e-9;
}

static sockaddr_in Loopback(int port)
{
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons((uint16_t)port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

int main(int argc, char** argv)
{
    if (argc != 7) {
        fprintf(stderr, "usage: udp-relay LISTEN TARGET LOSS DELAY_MS JITTER_MS SECONDS\n");
        return 2;
    }
    int listenPort = atoi(argv[1]), targetPort = atoi(argv[2]);
    double loss = atof(argv[3]), delay = atof(argv[4]) / 1000, jitter = atof(argv[5]) / 1000, seconds = atof(argv[6]);
    if (seconds <= 0 || seconds > 3600 || loss < 0 || loss > 1 || delay < jitter) {
        fprintf(stderr, "udp-relay: bad figures\n");
        return 2;
    }
    int front = socket(AF_INET, SOCK_DGRAM, 0), back = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in listenAddress = Loopback(listenPort), target = Loopback(targetPort), client = {};
    if (bind(front, (sockaddr*)&listenAddress, sizeof listenAddress) != 0) {
        perror("udp-relay: bind");
        return 1;
    }
    bool haveClient = false;
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Held> held;
    long passed = 0, dropped = 0;
    const double end = NowS() + seconds;
    while (NowS() < end) {
        pollfd fds[2] = {{front, POLLIN, 0}, {back, POLLIN, 0}};
        poll(fds, 2, 1);
        char buffer[65536];
        for (int k = 0; k < 2; k++) {
            if (!(fds[k].revents & POLLIN))
                continue;
            sockaddr_in from = {};
            socklen_t length = sizeof from;
            ssize_t n = recvfrom(fds[k].fd, buffer, sizeof buffer, 0, (sockaddr*)&from, &length);
            if (n < 0)
                continue;
            if (k == 0) {
                // Only the loopback's own clients.
                if (from.sin_addr.s_addr != htonl(INADDR_LOOPBACK))
                    continue;
                client = from;
                haveClient = true;
            }
            if (unit(random) < loss) {
                dropped++;
                continue;
            }
            double wait = delay + (unit(random) * 2 - 1) * jitter;
            held.push_back({NowS() + wait, k == 0, std::vector<char>(buffer, buffer + n)});
        }
        double now = NowS();
        for (size_t i = 0; i < held.size();) {
            if (held[i].due > now) {
                i++;
                continue;
            }
            if (held[i].toTarget)
                sendto(back, held[i].bytes.data(), held[i].bytes.size(), 0, (sockaddr*)&target, sizeof target);
            else if (haveClient)
                sendto(front, held[i].bytes.data(), held[i].bytes.size(), 0, (sockaddr*)&client, sizeof client);
            passed++;
            held[i] = std::move(held.back());
            held.pop_back();
        }
    }
    printf("udp-relay: %ld datagrams passed, %ld dropped\n", passed, dropped);
    return 0;
}
