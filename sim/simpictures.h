#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The pictures of the sample device storage (application and MIDlet icons),
// drawn here so that every picture of the simulated phone is this team's.
struct SimPicture
{
    QString path;  // below the device folder, e.g. "mmc/mmca1/app/Notes/notes.png"
    QImage image;
};

QList<SimPicture> drawSimPictures();
