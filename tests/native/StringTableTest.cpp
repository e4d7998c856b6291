// The built exe carries every German text of the string table exactly: read
// back from its resources, converted from UTF-16 to Windows-1252 and
// compared with the texts the program must show.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "native/ExeByBinutils.h"

namespace {

struct Text {
  unsigned id;
  const char* text;
};

const Text kExpected[] = {
    {1, "Media Player"},
    {2, "Lizenzen nicht automatisch erwerben"},
    {3, "Identifikation des Media Players durch Internetsites nicht zulassen"},
    {4, "Automatischen Codec-Download deaktivieren"},
    {5, "Fehlerberichterstattung"},
    {6, "Fehlerberichterstattung ausschalten"},
    {7, "Fehlerberichterstattung auch nicht bei schwerwiegenden Fehlern"},
    {8, "Explorer: Remote-Desktop-Unterstützung ausschalten"},
    {9, "Internet Explorer 6"},
    {10, "Keine geplanten Updates"},
    {11, "Keine Überprüfung auf Updates"},
    {12, "Zeit nicht automatisch über das Internet synchronisieren"},
    {13, "Integrierte Windows-Authentifizierung deaktivieren"},
    {15, "Dienste"},
    {16, "Dienst für Fehlerberichterstattung deaktivieren"},
    {17, "Dienst für automatische Updates deaktivieren"},
    {18, "Dienst zur Zeitsynchronisation deaktivieren"},
    {19, "Microsoft Messenger (MSN)"},
    {20, "Nicht mit Windows starten"},
    {21, "Deinstallieren"},
    {22, "MS-Support-Benutzer entfernen"},
    {23, "Regsvr32.dll's deregistrieren"},
    {26, "Dienst für den Taskplaner deaktivieren"},
    {27, "Alexa Registry-Eintrag entfernen"},
    {28, "Balloon-Tips nicht mehr anzeigen"},
    {29, "Auslagerungsdatei beim Herunterfahren löschen"},
    {30, "MS Messenger nicht mit Outlook Express starten"},
    {34, "Diverse Einstellungen"},
    {35, "Keine Aktion"},
    {36, "Bandbreitenbeschränkung aufheben"},
    {37, "OfficeXP: Keine Fehlerberichte senden"},
    {39, "Alle Einstellungen wurden zurückgesetzt"},
    {40, "Diese Funktion setzt alle Einstellungen auf die Werte nach einer Neuinstallation zurück (außer MS Messenger, Alexa und MS-Support-Benutzer). Willst du fortfahren?"},
    {41, "Schnelles Herunterfahren aktivieren"},
    {42, "Universal Plug and Play (UPNP) Service deaktivieren"},
    {43, "Maximal mögliche Verbindungen zu einem HTTP-Server auf 10 erhöhen"},
    {44, "ZIP-Funktionalität deaktivieren"},
    {45, " – Datenschutz-Werkzeug für Windows XP\n\nDieses Programm ist Freeware und wird ohne jede Gewährleistung geliefert. Die Benutzung erfolgt auf eigene Gefahr: Für Schäden an Daten, Programmen oder am System wird keine Haftung übernommen. Vor dem Ändern von Einstellungen empfiehlt sich eine Sicherung der Registrierung.\n\nKontakt: Fragen, Fehlerberichte und Wünsche bitte über „Mail an den Autor“ im Menü „?“; Neuigkeiten gibt es auf der Hushgate-Homepage.\n\nVielen Dank an alle, die Fehler gemeldet und Ideen beigesteuert haben.\nGewidmet allen, die ihre Daten lieber für sich behalten."},
    {46, "Jetzt wird der Status der einzelnen Einstellungen in deinem System geprüft."},
    {47, "Bedeutet: Diese Funktion ist bereits deaktiviert."},
    {48, "Bedeutet: Diese Funktion ist noch nicht deaktiviert und wird ausgewählt. Sie kann aber abgewählt werden."},
    {49, "Hushgate 3.61: schaltet Funktionen von Windows XP ab, die Daten ins Netz senden.\r\n\r\nAufruf:\r\n  hushgate                    das Hauptfenster\r\n  hushgate Nummern            die Einstellungen ausschalten, z.B. hushgate 1 2 4\r\n  hushgate /status [Nummern]  Bericht über den Zustand, ändert nichts\r\n  hushgate /preview Nummern   zeigt, was das Ausschalten ändern würde, ändert nichts\r\n  hushgate /undo [Nummern]    stellt die vorherigen Werte wieder her\r\n  hushgate /restorepoint ...  vor Nummern oder /undo: erst ein Wiederherstellungspunkt\r\n  hushgate /?                 diese Hilfe\r\n\r\nRückgabewert: 0 alles erledigt (bei /status: alles aus), 1 nicht alles erledigt (bei /status: etwas ist an), 2 Aufruf fehlerhaft, 3 nichts geändert (Administratorrechte oder Wiederherstellungspunkt fehlen).\r\n"},
    {50, "Es gibt keine gesicherten vorherigen Werte."},
    {51, "Hinweis: Die vorherigen Werte konnten nicht gesichert werden (keine Rechte unter HKLM\\SOFTWARE). Die Einstellungen werden trotzdem übernommen."},
    {52, "Die vorherigen Werte können nicht gesichert werden, weil die Rechte unter HKLM\\SOFTWARE fehlen. Ohne Sicherung lassen sie sich später nicht wiederherstellen.\n\nTrotzdem fortfahren?"},
    {53, "Folgende Einstellungen wurden nicht übernommen:\n\n%s"},
    {54, "Diese Funktion stellt die Werte wieder her, die vor der ersten Änderung durch Hushgate gesetzt waren:\n\n%s\nWillst du fortfahren?"},
    {55, "Nicht wiederherstellbar:"},
    {56, "Die vorherigen Werte wurden wiederhergestellt."},
    {57, "Nicht alle vorherigen Werte konnten wiederhergestellt werden:\n\n%s"},
    {58, "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*|"},
    {59, "Der Bericht konnte nicht gespeichert werden."},
    {60, "Zeitserver"},
    {61, "Diese Funktion kann nicht zurückgesetzt werden."},
    {62, "Der MS Messenger ist auf diesem System nicht installiert, somit kann diese Funktion nicht rückgängig gemacht werden."},
    {63, "Das Festlegen des Timeservers bedeutet, das der Windows\nZeitgeber-Service und die Internet Zeit Synchronisation\nreaktiviert werden, möchtest Du das?"},
    {64, "Benutzer: %s"},
    {65, "Ergebnis: %s"},
    {66, "erledigt"},
    {67, "fehlgeschlagen"},
    {68, "Einstellung %s"},
    {69, "Aktion: ausschalten"},
    {70, "Aktion: zurücksetzen"},
    {71, "Aktion: vorherige Werte wiederherstellen"},
    {72, "Aktion: Zeitserver festlegen\r\nZeitserver: %s"},
    {73, "(Standard)"},
    {74, "fehlt"},
    {75, "Typ %s"},
    {76, "(%s Bytes)"},
    {77, "Boot"},
    {78, "System"},
    {79, "automatisch"},
    {80, "manuell"},
    {81, "deaktiviert"},
    {82, "nicht erreichbar"},
    {83, "Wert"},
    {84, "jetzt: %s"},
    {85, "neu: %s"},
    {86, "löschen"},
    {87, "Schlüssel"},
    {88, "anlegen, wo er fehlt"},
    {89, "löschen, nur ohne Unterschlüssel"},
    {90, "Dienst"},
    {91, "%s, beenden"},
    {92, "(unlesbar)"},
    {93, "%s s Pause"},
    {94, "ohne Pause"},
    {95, "Programm"},
    {96, "Konto"},
    {97, "bleibt vorhanden"},
    {98, "abgelehnt: ungültiger Typ oder Größe"},
    {99, "liest sich anders zurück"},
    {100, "abgelehnt: ungültiger Starttyp"},
    {101, "Starttyp nicht gesetzt"},
    {102, "nicht vollständig wiederhergestellt"},
    {103, "unbekannte Art"},
    {104, "abgelehnt: unvollständiger Eintrag"},
    {105, "abgelehnt: gehört nicht zu dieser Einstellung"},
    {106, "Wirksam: sofort."},
    {107, "Wirksam: nach der nächsten Anmeldung."},
    {108, "Wirksam: nach einem Neustart."},
    {109, "Erst nach der nächsten Anmeldung oder einem Neustart wirksam:\n\n%s"},
    {110, "Erst nach Anmeldung oder Neustart wirksam: %s"},
    {111, "Dieser Rechner bezieht Updates über Legacy Update, einen Update-Server oder POSReady, und solange der Dienst deaktiviert ist, kommen darüber keine Updates mehr."},
    {112, "Nichts wurde geändert: Die Einstellungen %s brauchen Administratorrechte."},
    {113, "Ohne Administratorrechte lassen sich nur die Einstellungen deines eigenen Benutzers ändern."},
    {114, "Wiederherstellungspunkt nicht verfügbar"},
    {115, "Es lässt sich kein Systemwiederherstellungspunkt erstellen: Die Systemwiederherstellung fehlt, ist ausgeschaltet oder lehnt ab.\n\nTrotzdem ohne Wiederherstellungspunkt fortfahren?"},
    {140, "Als LocalSystem übergangen: %s. Diese Einstellungen gelten nur für das Konto, unter dem Hushgate läuft (HKEY_CURRENT_USER), hier also für kein Benutzerkonto; sie gehören in ein Anmeldeskript der Benutzer."},
    {141, "löschen schlägt fehl: der Schlüssel hat Unterschlüssel"},
    {500, "Der Alexa-Eintrag in der Systemregistrierung dient dazu, das Surfverhalten des Benutzers aufzuzeichnen und auszuwerten, falls die Alexa-Software installiert ist. Weitere Informationen findest du auf der Website des Herstellers."},
    {501, "Einige Media-Dateien benötigen Lizenzen zur Wiedergabe. Diese Einstellung bewirkt, dass die Lizenzen nicht mehr automatisch aus dem Internet heruntergeladen werden."},
    {502, "Der Globally Unique Identifier (GUID) des Systems lässt sich per Media Player übers Internet übertragen. Da dies in den wenigsten Fällen notwendig ist, sollte die Funktion einfach deaktiviert werden."},
    {503, "Der Media Player kann automatisch mit Microsoft Verbindung aufnehmen und neue Codecs, die zum Abspielen bestimmter Videoformate benötigt werden, aus dem Internet herunterladen. Das sollte man nur zulassen, wenn es notwendig wird."},
    {504, "Nach jedem Systemabsturz sammelt Windows Informationen über mögliche Ursachen und möchte diese dann gerne an Microsoft versenden. Mit dem Deaktivieren dieser Einstellung verhindert man, dass Fehlerberichte versandt werden."},
    {505, "Auch bei schwerwiegenden Fehlern wird hiermit kein Fehlerbericht erstellt."},
    {506, "Die geplanten Windows-Updates werden mit dieser Einstellung nicht mehr ausgeführt."},
    {507, "Mit dieser Einstellung wird unterbunden, dass der IE6 automatisch im Internet nach Updates für das System sucht."},
    {508, "Verhindert die Benutzung der aktuellen Benutzerkennung zur Autorisierung bei Internetsites."},
    {509, "Diese Einstellung stoppt den Fehlerberichterstattungs-Dienst. Deaktiviert man diese Einstellung, werden keine Fehlerberichte mehr erstellt."},
    {510, "Der Dienst für automatische Updates wird gestoppt. Trotzdem sind weiterhin manuelle Windows-Updates möglich."},
    {511, "Stoppt den Dienst, der die Systemzeit automatisch über das Internet abgleicht."},
    {512, "Stoppt den Dienst, der eingesetzt werden kann, um Programme zu bestimmten Zeitpunkten oder Ereignissen zu starten. Zu finden unter Systemsteuerung->Geplante Tasks. Falls Du Programme von Norton oder 'BootVis' von Microsoft benutzt, dann lasse diese Einstellung bitte unberührt, da es sonst Probleme mit diesen Programmen geben kann."},
    {513, "Belässt die bisherigen Einstellungen des MS Messengers."},
    {514, "Verhindert, dass der MS Messenger bei jedem Windows-Start ausgeführt wird."},
    {515, "Deinstalliert den MS Messenger komplett aus dem System. Wenn WindowsXP nachfragt, ob der Rechner neu gestartet werden soll, einfach auf 'Nein' klicken."},
    {516, "Diese Einstellung löscht den vorinstallierten MS Support-User.\nAuf der Website einer Computerzeitschrift heißt es dazu: „Bei jeder Installation von Windows XP wird der Benutzer SUPPORT_388945a0 angelegt. Das Konto hat ein zufällig erzeugtes Passwort und wird nur für die OEM-Distribution benötigt. Sicherheitshalber sollte man es entfernen.“"},
    {519, "Stoppt die Remote-Desktop-Unterstützung."},
    {521, "Unterbindet die automatische Synchronisierung der Systemzeit über das Internet."},
    {522, "Verhindert die Anzeige der Sprechblasen (Balloons), die auf Ereignisse wie Internetverbindung, 'Zu wenig freier Speicher auf der Festplatte' u.s.w. hinweisen."},
    {523, "Löscht die Auslagerungsdatei von Windows jedes Mal beim Herunterfahren des Systems. (Ich würde nicht empfehlen, diese Einstellung zu setzen; es hat bei einigen Usern zu Komplikationen geführt.)"},
    {524, "Verhindert, dass der MS Messenger jedes Mal mit Outlook Express gestartet wird."},
    {526, "Wenn Du eine DSL- oder Netzwerk-Verbindung besitzt, dann kann der QoS (Quality of Service)-Dienst bis zu 20% der verfügbaren Bandbreite reservieren. Diese Einstellung setzt die reservierbare Bandbreite auf 0%."},
    {527, "Falls ein OfficeXP-Programm abstürzen sollte, wird nicht versucht, einen Fehlerbericht an Microsoft zu senden."},
    {528, "Falls dein Rechner sehr lange zum Herunterfahren braucht, kannst Du das mit dieser Einstellung beschleunigen. Mit dieser Einstellung werden laufende Tasks beim Herunterfahren schneller beendet."},
    {529, "In der Vergangenheit gab es einige Sicherheitslöcher in diesem Service. Falls du kein ICS (Internet Connection Sharing) benutzt, deaktivere diesen Service. Mehr Infos zu UPNP gibt's unter dem Stichwort „UPnP“ in der Knowledge Base von Microsoft."},
    {530, "Normalerweise wird die maximale Anzahl an gleichzeitigen Verbindungen zu einem Internet-Server auf 4 beschränkt. Wenn man also vier Files gleichzeitig von einem Server herunterlädt, kann man nicht mehr auf ihn zugreifen. Deshalb kann mit dieser Einstellung die Obergrenze auf 10 heraufgesetzt werden (interessant für Anbindungen >=DSL)."},
    {531, "Diese Einstellung deaktiviert das eingebaute ZIP-Dekompressionsprogramm. Das Setzen dieser Einstellung ist interessant, wenn man andere Programme (z.B. WinRAR) benutzt, die nicht nur ZIP-Archive entpacken können."},
    {600, "MS Media Player"},
    {601, "Fehlerberichterstattung"},
    {602, "In dieser Kategorie befinden sich auch Einstellungen, die teilweise nicht sicherheitsrelevant sind, die aber von vielen WinXP-Benutzern gewünscht wurden, die mir geschrieben haben."},
    {603, "Internet-Explorer-6-Einstellungen"},
    {604, "Services sind Programme, die im Hintergrund laufen. Die genannten Services haben die Möglichkeit, ohne Wissen des Benutzers Verbindung mit dem Internet aufzunehmen. Wenn diese Funktionalität wieder einmal gebraucht wird, können die Dienste durch einen Rechtsklick auf den jeweiligen Eintrag erneut gestartet werden."},
    {605, "Der MS Messenger wird zusammen mit WindowsXP installiert."},
    {606, "RegSvr32.exe ist ein Systemprogramm, mit dem andere Programme in die Systemregistrierung eingetragen werden."},
};

class StringTable : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    auto image = exe::ReadExe(HUSHGATE_EXE, "", error);
    ASSERT_TRUE(image) << error;
    table_ = exe::FirstStrings(image->resources);
  }
  static std::map<unsigned, std::string> table_;
};

std::map<unsigned, std::string> StringTable::table_;

TEST_F(StringTable, EveryTextIsInTheExeExactly) {
  for (const Text& expected : kExpected) {
    auto found = table_.find(expected.id);
    ASSERT_NE(table_.end(), found) << "string " << expected.id << " is missing";
    EXPECT_EQ(expected.text, found->second) << "string " << expected.id;
  }
}

// Besides these, what each setting costs (700-731), which the catalogue's
// test checks in both languages.
TEST_F(StringTable, HoldsNoOtherTexts) {
  size_t costs = 0;
  for (const auto& entry : table_) costs += entry.first >= 700 && entry.first <= 731;
  EXPECT_EQ(28u, costs);
  EXPECT_EQ(sizeof kExpected / sizeof kExpected[0] + costs, table_.size());
}

TEST_F(StringTable, AboutTextContinuesTheTitleLine) {
  const std::string& about = table_[45];
  ASSERT_GE(about.size(), 3u);
  EXPECT_EQ(" \x96 ", about.substr(0, 3));  // blank, en dash, blank
}

}  // namespace
