// The language table: each replaceable program text with its English,
// German and French text, and this program's own program texts.
#pragma once

#include "platform/resource_strings.h"

#include <array>
#include <cstddef>

namespace qel {

// One row: the program text it replaces and its three translations.
struct TLanguageRes {
    plat::PResString PTR;
    const char* ENG;
    const char* DEU;
    const char* FRA;
};

// Dialog texts.
inline constinit const plat::TResString SQelFile{"QEL Datei"};
inline constinit const plat::TResString SQelTemplate{"QEL Vorlage"};
inline constinit const plat::TResString SCannotOpenFile{"Kann Datei [%s] nicht öffnen !"};

// Short texts of the title.
inline constinit const plat::TResString SQelTitle{"QEL"};
inline constinit const plat::TResString SVersionMark{"V"};

// Error texts; the error code of each is noted behind it.
inline constinit const plat::TResString SErrFileCreate{"Datei [%s] kann nicht erstellt werden !"}; // no code
inline constinit const plat::TResString SErrQelException{"Der QEL meldet eine Exception !"}; // code 15
inline constinit const plat::TResString SErrFormatting{"Fehler beim Formatieren !"}; // code 41
inline constinit const plat::TResString SErrNoRecords{"Keine Records vorhanden !"}; // code 20
inline constinit const plat::TResString SErrOtherStructure{"Der angeschlossene QEL besitzt eine andere Struktur !\r\nBitte lesen Sie den QEL neu ein !"}; // code 43
inline constinit const plat::TResString SErrOtherSerialNo{"Der angeschlossene QEL besitzt eine andere Serienummer !\r\nBitte lesen Sie den QEL neu ein !"}; // code 42
inline constinit const plat::TResString SErrSerialReadWrite{"Fehler beim Lesen/Schreiben des seriellen Ports !"}; // code 5
inline constinit const plat::TResString SErrOpenPort{"Kann seriellen Port nicht öffnen !"}; // code 2
inline constinit const plat::TResString SErrRecordActive{"Die Datenaufzeichnung ist aktiv !\r\nBitte stoppen Sie zuerst die Datenaufzeichnung !"}; // code 7
inline constinit const plat::TResString SErrFatal{"Es ist die Exception %d aufgetreten !"}; // fall-back text
inline constinit const plat::TResString SErrUnknownCommand{"Unbekannter Befehl"}; // code 4
inline constinit const plat::TResString SErrUnknownVersion{"Unbekannte Modulversion !\r\nBitte installieren Sie die aktuelle QEL-Software."}; // code 30
inline constinit const plat::TResString SErrModuleActive{"Das WLAN- oder BLE-Modul ist noch aktiv !\r\nBitte zuerst dieses Modul deaktivieren !"}; // code 105
inline constinit const plat::TResString SErrRecordingNotStarted{"Die Datenaufzeichnung kann nicht gestartet werden!"}; // code 1002
inline constinit const plat::TResString SErrSensorChange{"Eine Änderung der externen Sensoren muss zuerst im Logger angemeldet werden!\r\nBitte gehen Sie gemäss der Kurzanleitung vor."}; // code 1001
inline constinit const plat::TResString SErrUserAbort{"Abbruch durch Anwender"}; // code 3 and 21
inline constinit const plat::TResString SErrNoModules{"Keine Module vorhanden !"}; // code 6
inline constinit const plat::TResString SErrRecordStarted{"Während des Auslesens wurde ein Record gestartet.\r\nDie gelesenen Daten sind u.U. nicht gültig !"}; // code 8
inline constinit const plat::TResString SErrNotInitialised{"Der QEL ist nicht initialisiert !"}; // code 9
inline constinit const plat::TResString SErrUnknownFunction{"Der QEL kennt die angeforderte Funktion nicht !"}; // code 10
inline constinit const plat::TResString SErrNoBaseModule{"Das Basismodul des QELs ist nicht verfügbar !"}; // code 11
inline constinit const plat::TResString SErrNoAnswer{"Der QEL konnte noch nicht antworten !"}; // code 12
inline constinit const plat::TResString SErrWrongParameters{"Der QEL erhielt falsche Parameter !"}; // code 13
inline constinit const plat::TResString SErrUnknownException{"Der QEL meldet eine unbekannte Exception !"}; // code 14
inline constinit const plat::TResString SErrConfigurationMode{"Der QEL befindet sich im Konfigurations-Modus.\r\nBitte schalten Sie den QEL aus und wieder ein."}; // code 22
inline constinit const plat::TResString SErrWrongPassword{"Falsches Password !\r\nBitte versuchen Sie es erneut."}; // code 31
inline constinit const plat::TResString SErrNoValveTester{"Es kann kein QEL Ventiltester detektiert werden !"}; // code 32

// Texts of the main window and its wizard pages.
inline constinit const plat::TResString SSerialPort{"Serieller Port"};
inline constinit const plat::TResString SStartButton{"&Start"};
inline constinit const plat::TResString SExitButton{"Be&enden"};
inline constinit const plat::TResString SReportButton{"&Report"};
inline constinit const plat::TResString SReportLabel{"Report :"};
inline constinit const plat::TResString SReadingHeader{"Kopfinformationen werden eingelesen .."};
inline constinit const plat::TResString SReadingData{"Daten werden eingelesen .."};
inline constinit const plat::TResString SCreatingFiles{"Erstelle Datei(en).."};
inline constinit const plat::TResString SCannotCreateRecordList{"Kann Record-Liste nicht erstellen !"};
inline constinit const plat::TResString SSelectRecords{"Gewünschte Records auswählen :"};
inline constinit const plat::TResString SSelectAllButton{"&Alle auswählen"};
inline constinit const plat::TResString SSelectNoneButton{"&Keinen auswählen"};
inline constinit const plat::TResString SRecordColumn{"Record"};
inline constinit const plat::TResString SStartTimeColumn{"Startzeit"};
inline constinit const plat::TResString SModulesColumn{"Module"};
inline constinit const plat::TResString SModuleColumn{"Modul"};
inline constinit const plat::TResString SPagesColumn{"Seiten"};
inline constinit const plat::TResString SStatusColumn{"Status"};
inline constinit const plat::TResString STimeColumn{"t"};
inline constinit const plat::TResString SOkButton{"OK"};
inline constinit const plat::TResString SSensors{"Sensoren"};
inline constinit const plat::TResString SReadSeveralQel{"mehrere QEL mit gleicher Startzeit auslesen"};
inline constinit const plat::TResString SShowRecordDetails{"Record-Details anzeigen"};
inline constinit const plat::TResString SQelsReadSoFar{"Bisher gelesene QEL"};
inline constinit const plat::TResString SContinueButton{"Weiter lesen"};
inline constinit const plat::TResString SSaveButton{"Speichern"};
inline constinit const plat::TResString SCancelButton{"Abbrechen"};
inline constinit const plat::TResString SSaveNamedFiles{"Sollen bereits benannte Dateien gespeichert werden ?"};
inline constinit const plat::TResString SFilesGenerated{"Erzeugte Dateien :"};
inline constinit const plat::TResString SAccelerationRateNote{"Bitte beachten Sie, dass die Messrate des Beschleunigungssensors um ±5% variieren kann. Dies wirkt sich insbesondere bei Vibrationsmessungen auf die angezeigte Messdauer aus."};
inline constinit const plat::TResString SProgramDescription{"Mit diesem Programm können die Daten der mitgelieferten microSD-Karte 4GB gelesen werden."};
inline constinit const plat::TResString SReadCardDirectory{"Lesen des SD-Kartenverzeichnisses.."};
inline constinit const plat::TResString SReadCardMemory{"Lesen der SD-Kartendaten.."};
inline constinit const plat::TResString SMaximum{"Maximum"};
inline constinit const plat::TResString SValues{"Werte"};
inline constinit const plat::TResString SNextButton{"Weiter"};
inline constinit const plat::TResString SBackButton{"Zurück"};
inline constinit const plat::TResString SDirectory{"Verzeichnis"};
inline constinit const plat::TResString SReadNewly{"Neu lesen"};
inline constinit const plat::TResString SChannelsStep{"1. Messkanäle"};
inline constinit const plat::TResString SChannelColumn{"Kanal"};
inline constinit const plat::TResString SUnitColumn{"Einheit"};
inline constinit const plat::TResString SMeasurementParameter{"Messwerte"};
inline constinit const plat::TResString STimeStep{"2. Messzeit"};
inline constinit const plat::TResString SStartTimeLabel{"Startzeit"};
inline constinit const plat::TResString SBeginningLabel{"Beginn [s]"};
inline constinit const plat::TResString SEndLabel{"Ende [s]"};
inline constinit const plat::TResString SDestinationStep{"3. Ausgangsdatei"};
inline constinit const plat::TResString SFileFormat{"Dateiformat"};
inline constinit const plat::TResString SLimitationParameter{"Grössenbegrenzung"};
inline constinit const plat::TResString SOptionsStep{"4. Optionen"};
inline constinit const plat::TResString SStartViewer{"Viewer starten"};
inline constinit const plat::TResString SStartCsvConverter{"CSV-Konverter starten"};
inline constinit const plat::TResString SRepeat{"Wiederholen"};
inline constinit const plat::TResString SAverageRateNote{"Hinweis:\r\nDie durchschnittliche Messrate wird aus Startzeit, Endzeit und Anzahl der Messwerte ermittelt. \r\nDies ist nur für Messdaten ohne zeitliche Lücken sinnvoll!"};
inline constinit const plat::TResString SContainerFormatNote{"Hinweis:\r\nDieses Dateiformat wird nur von der QEL-Pro-Software verwendet!"};
inline constinit const plat::TResString SMoreContainers{"Es wurden weitere Daten-Container (qel1.dat, ..) im Verzeichnis gefunden.\r\nSollen alle Container gelesen werden?"};
inline constinit const plat::TResString SBigDataNote{"Hinweis: Mehr als 10 000 000 Messwerte können ggf. nicht in allen Softwaren angezeigt bzw. weiterverarbeitet werden."};
inline constinit const plat::TResString SSelectAll{"Alle auswählen"};
inline constinit const plat::TResString SPositionColumn{"Position"};
inline constinit const plat::TResString SAccelerationMeasurement{"Schockmessung"};
inline constinit const plat::TResString SJartoscope{"Jartoscope"};
inline constinit const plat::TResString SShockFileNote{"Hinweis: Es wird eine QSHOCK-Datei für den Jartoscope erstellt."};
inline constinit const plat::TResString SStandard{"Standard"};
inline constinit const plat::TResString SOtherFormatsNote{"Hinweis: Es können Dateien in verschiedenen Formaten erstellt werden, welche jedoch nicht mit dem Jartoscope geöffnet werden können."};
inline constinit const plat::TResString SStartJartoscope{"Jartoscope starten"};

constexpr std::size_t LANGUAGE_TEXT_ROWS = 123;

// In the order in which the language switch replaces the texts. The button
// and message-box captions are the platform's (platform/standard_texts.h).
extern const std::array<TLanguageRes, LANGUAGE_TEXT_ROWS> LanguageTexts;

} // namespace qel
