# Precompiled headers: most of a source's compile time goes into Qt's
# headers, so the ones nearly every source of a kind includes are compiled
# once. A target may reuse another's only when both are compiled with the
# same flags and definitions; the product's targets share the discipline
# flags (zk_product), the test programs theirs (tests/CMakeLists.txt).
set(ZK_PCH_PRODUCT
    <QApplication> <QByteArray> <QDataStream> <QFile> <QHash> <QList> <QMap>
    <QObject> <QPainter> <QPixmap> <QPointer> <QString> <QStringList> <QTimer>
    <QWidget> <functional> <memory> <optional> <vector>)
set(ZK_PCH_TESTS
    ${ZK_PCH_PRODUCT} <QDir> <QImage> <QProcess> <QSignalSpy> <QTemporaryDir> <QTest>)

# target gets its own precompiled header from the list, or reuses the one
# of `from`.
function(zk_pch target)
  cmake_parse_arguments(PCH "" "FROM" "HEADERS" ${ARGN})
  if(PCH_FROM)
    target_precompile_headers(${target} REUSE_FROM ${PCH_FROM})
  else()
    target_precompile_headers(${target} PRIVATE ${PCH_HEADERS})
  endif()
endfunction()
