#include "support/EmulatedHd44780Port.h"

void EmulatedHd44780Port::writePort(quint16 port, quint8 value) {
    if (recording) {
        accesses.append({PortAccess::Write, port, value});
    }
    if (port == kParallelData) {
        data = value;
    } else if (port == kParallelControl) {
        const bool enableWasHigh = !(control & kParallelStrobe);
        control = value;
        if (enableWasHigh && (control & kParallelStrobe)) {
            const bool toData = !(control & kParallelSelectIn);
            if (recording) {
                transfers.append({toData, data});
            }
            if (toData) {
                panel.writeData(data);
            } else {
                panel.writeInstruction(data);
            }
        }
    }
}

quint8 EmulatedHd44780Port::readPort(quint16 port) {
    const quint8 value = port == kParallelData ? data : port == kParallelControl ? control : 0xFF;
    if (recording) {
        accesses.append({PortAccess::Read, port, value});
    }
    return value;
}
