#pragma once

#include "store/InstallationTree.h"

#include <QString>

// The store side of opening an installation file: its tree (from the tree
// files, or rebuilt from the installation file when they cannot be read),
// the system profiles of every block relabelled in the current language,
// the number of blocks, the installation's serial port and whether it is
// reached by modem. Throws StoreError / EngineError when the installation
// cannot be read.
struct InstallationOpening {
    QString folder;            // the folder of the file, ending in '/'
    QString name;              // installation name N
    InstallationTree tree;     // vocabulary keys below level 1
    QString blockCount;        // as the installation file counts it ("0" when unreadable)
    QString port;              // PUERTO of the first _Port row; empty when none is set
    bool modem = false;        // TIPO_CONEXION of the first _connec row is "MODEM"

    static InstallationOpening read(const QString &path);
};
