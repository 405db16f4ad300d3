// ppdev backend; see ppdevport.h. The status register's BUSY bit is inverted by the port
// hardware, so it is inverted back to give the level of pin 11.
#include "ppdevport.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "port/portfault.h"

namespace vornelle {

Outcome<std::unique_ptr<PpdevPort>> PpdevPort::open(const std::string& device) {
    int fd = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        int e = errno;
        std::string cause;
        if (e == ENOENT || e == ENODEV || e == ENXIO)
            cause =
                "le périphérique n'existe pas (module ppdev non chargé : sudo modprobe ppdev, ou pas de port "
                "parallèle)";
        else if (e == EACCES || e == EPERM)
            cause =
                "permission refusée (l'utilisateur doit faire partie du groupe lp : sudo adduser $USER lp, "
                "puis "
                "se reconnecter)";
        else
            cause = std::strerror(e);
        return Failure{"Impossible d'ouvrir le port parallèle " + device + " : " + cause + "."};
    }
    if (::ioctl(fd, PPCLAIM) != 0) {
        std::string m = "Impossible de réserver le port parallèle " + device +
                        " (PPCLAIM) : " + std::strerror(errno) +
                        ". Un autre programme (lp, CUPS) l'utilise peut-être.";
        ::close(fd);
        return Failure{m};
    }
    return std::unique_ptr<PpdevPort>(new PpdevPort(fd, device));
}

PpdevPort::~PpdevPort() {
    ::ioctl(fd_, PPRELEASE);
    ::close(fd_);
}

void PpdevPort::Write_Port_Bit(int16_t, int16_t value) {
    unsigned char b = static_cast<unsigned char>(value);
    if (::ioctl(fd_, PPWDATA, &b) != 0)
        throw PortFault(device_, std::string("écriture : ") + std::strerror(errno));
}

int PpdevPort::status() {
    unsigned char s = 0;
    if (::ioctl(fd_, PPRSTATUS, &s) != 0)
        throw PortFault(device_, std::string("lecture de l'état : ") + std::strerror(errno));
    return s;
}

int16_t PpdevPort::Read_Busy(int16_t) {
    int s = status();
    return (s & PARPORT_STATUS_BUSY) ? 0 : 1;
}

int16_t PpdevPort::Read_Pe(int16_t) {
    int s = status();
    return (s & PARPORT_STATUS_PAPEROUT) ? 1 : 0;
}

int16_t PpdevPort::Read_Select(int16_t) {
    int s = status();
    return (s & PARPORT_STATUS_SELECT) ? 1 : 0;
}

int16_t PpdevPort::Read_Error(int16_t) {
    int s = status();
    return (s & PARPORT_STATUS_ERROR) ? 1 : 0;
}

std::string parportDevice(uint16_t address, const std::string& procRoot, const std::string& devRoot) {
    if (DIR* d = ::opendir(procRoot.c_str())) {
        while (dirent* e = ::readdir(d)) {
            std::string name = e->d_name;
            if (name.rfind("parport", 0) != 0) continue;
            std::ifstream in(procRoot + "/" + name + "/base-addr");
            unsigned long base = 0;
            if (in >> base && base == address) {
                ::closedir(d);
                return devRoot + name;
            }
        }
        ::closedir(d);
    }
    return devRoot + (address == 632 ? "parport1" : "parport0");
}

}  // namespace vornelle
