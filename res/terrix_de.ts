<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>MeasuringStatus</name>
    <message>
        <source>Measuring loop running: measuring now</source>
        <translation>Meßschleife läuft: es wird gemessen</translation>
    </message>
    <message>
        <source>Measuring loop running: next round at %1</source>
        <translation>Meßschleife läuft: nächste Messung um %1</translation>
    </message>
    <message>
        <source>Measuring loop without its port: next try at %1</source>
        <translation>Meßschleife ohne Port: nächster Versuch um %1</translation>
    </message>
    <message>
        <source>Measuring is running. Stop measuring and close?</source>
        <translation>Die Messung läuft. Messung beenden und schließen?</translation>
    </message>
</context>
<context>
    <name>PortOutageNotice</name>
    <message>
        <source>Not answering, so not measured: %1. They are asked again every %2 minutes and measured as soon as they answer.</source>
        <translation>Antworten nicht und werden daher nicht gemessen: %1. Sie werden alle %2 Minuten erneut abgefragt und gemessen, sobald sie antworten.</translation>
    </message>
    <message>
        <source>none in this measurement</source>
        <translation>keine in dieser Messung</translation>
    </message>
    <message>
        <source>Connection to %1 lost at %2. Last stored values: %3. The port is tried every %4 s; measuring goes on by itself when the device answers again.</source>
        <translation>Verbindung zu %1 um %2 verloren. Zuletzt gespeicherte Werte: %3. Der Port wird alle %4 s erneut versucht; die Messung läuft von selbst weiter, sobald das Gerät wieder antwortet.</translation>
    </message>
    <message>
        <source>Connection to %1 back at %2 after a gap of %3 (since %4); measuring goes on.</source>
        <translation>Verbindung zu %1 um %2 wieder da, nach einer Lücke von %3 (seit %4); die Messung läuft weiter.</translation>
    </message>
</context>
<context>
    <name>SessionEnd</name>
    <message>
        <source>Terrix ends the running work: a measurement stops after the current module.</source>
        <translation>Terrix beendet die laufende Arbeit: eine Messung endet nach dem aktuellen Modul.</translation>
    </message>
</context>
<context>
    <name>Terrix</name>
    <message>
        <source>&amp;File</source>
        <comment>128</comment>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <comment>128</comment>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <comment>128</comment>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <comment>128</comment>
        <translation>S&amp;prache</translation>
    </message>
    <message>
        <source>&amp;Misc.</source>
        <comment>128</comment>
        <translation>S&amp;onstiges</translation>
    </message>
    <message>
        <source>&amp;Bus</source>
        <comment>128</comment>
        <translation>B&amp;us</translation>
    </message>
    <message>
        <source>Serial &amp;Comport</source>
        <comment>128</comment>
        <translation>Serielle &amp;Schnittstelle</translation>
    </message>
    <message>
        <source>&amp;Maintenance</source>
        <comment>128</comment>
        <translation>&amp;Wartung</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <comment>128</comment>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <comment>57600</comment>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <comment>57601</comment>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <comment>57603</comment>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <comment>57604</comment>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <comment>57607</comment>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <comment>57609</comment>
        <translation>Seiten&amp;ansicht</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <comment>57606</comment>
        <translation>Drucker&amp;einrichtung...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <comment>57665</comment>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <comment>57643</comment>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <comment>57635</comment>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <comment>57634</comment>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <comment>57637</comment>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <comment>59392</comment>
        <translation>&amp;Symbolleiste</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <comment>59393</comment>
        <translation>Status&amp;leiste</translation>
    </message>
    <message>
        <source>&amp;german</source>
        <comment>32777</comment>
        <translation>&amp;deutsch</translation>
    </message>
    <message>
        <source>&amp;english</source>
        <comment>32778</comment>
        <translation>&amp;englisch</translation>
    </message>
    <message>
        <source>Insert &amp;chart</source>
        <comment>32771</comment>
        <translation>&amp;Diagramm einfügen</translation>
    </message>
    <message>
        <source>Serial Comport1</source>
        <comment>32819</comment>
        <translation>Serielle Schnittstelle COM1</translation>
    </message>
    <message>
        <source>Serial Comport2</source>
        <comment>32820</comment>
        <translation>Serielle Schnittstelle COM2</translation>
    </message>
    <message>
        <source>Serial Comport3</source>
        <comment>32821</comment>
        <translation>Serielle Schnittstelle COM3</translation>
    </message>
    <message>
        <source>Serial Comport4</source>
        <comment>32824</comment>
        <translation>Serielle Schnittstelle COM4</translation>
    </message>
    <message>
        <source>&amp;display</source>
        <comment>32775</comment>
        <translation>&amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;scan completely</source>
        <comment>32773</comment>
        <translation>&amp;komplett absuchen</translation>
    </message>
    <message>
        <source>scan only for known modules</source>
        <comment>32784</comment>
        <translation>nur nach &amp;bekannten Modulen suchen</translation>
    </message>
    <message>
        <source>&amp;Forget bus info</source>
        <comment>32786</comment>
        <translation>Businformationen &amp;vergessen</translation>
    </message>
    <message>
        <source>&amp;Scan bus</source>
        <comment>32787</comment>
        <translation>Bus &amp;absuchen</translation>
    </message>
    <message>
        <source>Create &amp;collision on bus</source>
        <comment>32780</comment>
        <translation>&amp;Kollision auf dem Bus erzeugen</translation>
    </message>
    <message>
        <source>&amp;Resolve collisions</source>
        <comment>32782</comment>
        <translation>Kollisionen auf&amp;lösen</translation>
    </message>
    <message>
        <source>&amp;Measure</source>
        <comment>32776</comment>
        <translation>&amp;Messen</translation>
    </message>
    <message>
        <source>&amp;About Terrix...</source>
        <comment>57664</comment>
        <translation>&amp;Info über Terrix...</translation>
    </message>
    <message>
        <source>Create a new document
New</source>
        <comment>57600</comment>
        <translation>Erstellt ein neues Dokument
Neu</translation>
    </message>
    <message>
        <source>Open an existing document
Open</source>
        <comment>57601</comment>
        <translation>Öffnet ein vorhandenes Dokument
Öffnen</translation>
    </message>
    <message>
        <source>Save the active document
Save</source>
        <comment>57603</comment>
        <translation>Speichert das aktive Dokument
Speichern</translation>
    </message>
    <message>
        <source>Save the active document with a new name
Save As</source>
        <comment>57604</comment>
        <translation>Speichert das aktive Dokument unter einem neuen Namen
Speichern unter</translation>
    </message>
    <message>
        <source>Print the active document
Print</source>
        <comment>57607</comment>
        <translation>Druckt das aktive Dokument
Drucken</translation>
    </message>
    <message>
        <source>Display full pages
Print Preview</source>
        <comment>57609</comment>
        <translation>Zeigt ganze Seiten an
Seitenansicht</translation>
    </message>
    <message>
        <source>Change the printer and printing options
Print Setup</source>
        <comment>57606</comment>
        <translation>Ändert den Drucker und die Druckoptionen
Druckereinrichtung</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents
Exit</source>
        <comment>57665</comment>
        <translation>Beendet das Programm und fragt, ob Dokumente gespeichert werden sollen
Beenden</translation>
    </message>
    <message>
        <source>Undo the last action
Undo</source>
        <comment>57643</comment>
        <translation>Macht die letzte Aktion rückgängig
Rückgängig</translation>
    </message>
    <message>
        <source>Cut the selection and put it on the Clipboard
Cut</source>
        <comment>57635</comment>
        <translation>Schneidet die Markierung aus und legt sie in die Zwischenablage
Ausschneiden</translation>
    </message>
    <message>
        <source>Copy the selection and put it on the Clipboard
Copy</source>
        <comment>57634</comment>
        <translation>Kopiert die Markierung in die Zwischenablage
Kopieren</translation>
    </message>
    <message>
        <source>Insert Clipboard contents
Paste</source>
        <comment>57637</comment>
        <translation>Fügt den Inhalt der Zwischenablage ein
Einfügen</translation>
    </message>
    <message>
        <source>Show or hide the toolbar
Toggle ToolBar</source>
        <comment>59392</comment>
        <translation>Blendet die Symbolleiste ein oder aus
Symbolleiste ein/aus</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <comment>59393</comment>
        <translation>Blendet die Statusleiste ein oder aus
Statusleiste ein/aus</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <comment>57664</comment>
        <translation>Zeigt Programminformationen, Versionsnummer und Copyright an
Info</translation>
    </message>
    <message>
        <source>Switch the user interface to German
German</source>
        <comment>32777</comment>
        <translation>Schaltet die Bedienoberfläche auf Deutsch um
Deutsch</translation>
    </message>
    <message>
        <source>Switch the user interface to English
English</source>
        <comment>32778</comment>
        <translation>Schaltet die Bedienoberfläche auf Englisch um
Englisch</translation>
    </message>
    <message>
        <source>Insert a chart
Insert chart</source>
        <comment>32771</comment>
        <translation>Fügt ein Diagramm ein
Diagramm einfügen</translation>
    </message>
    <message>
        <source>Use serial port COM1 for the NKP-Bus
COM1</source>
        <comment>32819</comment>
        <translation>Verwendet die serielle Schnittstelle COM1 für den NKP-Bus
COM1</translation>
    </message>
    <message>
        <source>Use serial port COM2 for the NKP-Bus
COM2</source>
        <comment>32820</comment>
        <translation>Verwendet die serielle Schnittstelle COM2 für den NKP-Bus
COM2</translation>
    </message>
    <message>
        <source>Use serial port COM3 for the NKP-Bus
COM3</source>
        <comment>32821</comment>
        <translation>Verwendet die serielle Schnittstelle COM3 für den NKP-Bus
COM3</translation>
    </message>
    <message>
        <source>Use serial port COM4 for the NKP-Bus
COM4</source>
        <comment>32824</comment>
        <translation>Verwendet die serielle Schnittstelle COM4 für den NKP-Bus
COM4</translation>
    </message>
    <message>
        <source>Lists all found modules</source>
        <comment>32775</comment>
        <translation>Listet alle gefundenen Module auf</translation>
    </message>
    <message>
        <source>Scan the whole bus for modules
Scan completely</source>
        <comment>32773</comment>
        <translation>Sucht den ganzen Bus nach Modulen ab
Komplett absuchen</translation>
    </message>
    <message>
        <source>Scan the bus for the known modules only
Scan for known modules</source>
        <comment>32784</comment>
        <translation>Sucht den Bus nur nach den bekannten Modulen ab
Nach bekannten Modulen suchen</translation>
    </message>
    <message>
        <source>Forget all module info</source>
        <comment>32786</comment>
        <translation>Verwirft alle Modulinformationen</translation>
    </message>
    <message>
        <source>Scan the bus for modules
Scan bus</source>
        <comment>32787</comment>
        <translation>Sucht den Bus nach Modulen ab
Bus absuchen</translation>
    </message>
    <message>
        <source>Give every known module the same station number
Create collision</source>
        <comment>32780</comment>
        <translation>Gibt allen bekannten Modulen dieselbe Stationsnummer
Kollision erzeugen</translation>
    </message>
    <message>
        <source>Resolve the address collisions on the bus
Resolve collisions</source>
        <comment>32782</comment>
        <translation>Löst die Adresskollisionen auf dem Bus auf
Kollisionen auflösen</translation>
    </message>
    <message>
        <source>Measure
Measure</source>
        <comment>32776</comment>
        <translation>Messen
Messen</translation>
    </message>
    <message>
        <source>Ready</source>
        <comment>57345</comment>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>hh:mm:ss</source>
        <comment>101</comment>
        <translation>hh:mm:ss</translation>
    </message>
    <message>
        <source>Terrix

Terrix


Terrix.Document
Terrix Document</source>
        <comment>128</comment>
        <translation>Terrix

Terrix


Terrix.Document
Terrix-Dokument</translation>
    </message>
    <message>
        <source>About Terrix</source>
        <comment>100</comment>
        <translation>Info über Terrix</translation>
    </message>
    <message>
        <source>Display measuring values</source>
        <comment>32783</comment>
        <translation>Meßwerte anzeigen</translation>
    </message>
    <message>
        <source>Edit user info</source>
        <comment>32788</comment>
        <translation>Benutzerdaten bearbeiten</translation>
    </message>
    <message>
        <source>(De-)activate module</source>
        <comment>32789</comment>
        <translation>Modul (de-)aktivieren</translation>
    </message>
    <message>
        <source>Remove module</source>
        <comment>32781</comment>
        <translation>Modul entfernen</translation>
    </message>
    <message>
        <source>Rescan module</source>
        <comment>32774</comment>
        <translation>Modul neu identifizieren</translation>
    </message>
    <message>
        <source>Change station number</source>
        <comment>32779</comment>
        <translation>Stationsnummer ändern</translation>
    </message>
    <message>
        <source>Recreate ASCII meas. data</source>
        <comment>32805</comment>
        <translation>ASCII-Meßdaten neu erzeugen</translation>
    </message>
    <message>
        <source>Change Reset Baudrate</source>
        <comment>32806</comment>
        <translation>Reset-Baudrate ändern</translation>
    </message>
    <message>
        <source>Change Limit for Error66 Activation</source>
        <comment>32807</comment>
        <translation>Grenzwert für Error66-Aktivierung ändern</translation>
    </message>
    <message>
        <source>First measurement value
First measurement value</source>
        <comment>32792</comment>
        <translation>Erster Meßwert
Erster Meßwert</translation>
    </message>
    <message>
        <source>Scroll one page backwards
One page back</source>
        <comment>32793</comment>
        <translation>Eine Seite zurückblättern
Eine Seite zurück</translation>
    </message>
    <message>
        <source>One measurement value backwards
One meas. value back</source>
        <comment>32794</comment>
        <translation>Einen Meßwert zurück
Einen Meßwert zurück</translation>
    </message>
    <message>
        <source>One measurement value forwards
One meas. value forw.</source>
        <comment>32795</comment>
        <translation>Einen Meßwert vorwärts
Einen Meßwert vor</translation>
    </message>
    <message>
        <source>Scroll one page forewards
One page forewards</source>
        <comment>32796</comment>
        <translation>Eine Seite vorblättern
Eine Seite vor</translation>
    </message>
    <message>
        <source>Last measurement value
Last measurement value</source>
        <comment>32797</comment>
        <translation>Letzter Meßwert
Letzter Meßwert</translation>
    </message>
    <message>
        <source>Line chart w/o markers for meas. values
Line chart w/o markers for meas. values</source>
        <comment>32798</comment>
        <translation>Liniendiagramm ohne Markierung der Meßwerte
Liniendiagramm ohne Markierung der Meßwerte</translation>
    </message>
    <message>
        <source>Plot
Plot</source>
        <comment>32801</comment>
        <translation>Diagramm
Diagramm</translation>
    </message>
    <message>
        <source>Samples Per Plot
Samples Per Plot</source>
        <comment>32803</comment>
        <translation>Werte pro Diagramm
Werte pro Diagramm</translation>
    </message>
    <message>
        <source>Number of first meas. value on plot</source>
        <comment>32799</comment>
        <translation>Nummer des ersten Meßwerts im Diagramm</translation>
    </message>
    <message>
        <source>Number of sampled meas. values</source>
        <comment>32800</comment>
        <translation>Anzahl der aufgezeichneten Meßwerte</translation>
    </message>
    <message>
        <source>Samples Per Plot</source>
        <comment>32803</comment>
        <translation>Werte pro Diagramm</translation>
    </message>
    <message>
        <source>Increments/decrements SPP value</source>
        <comment>32804</comment>
        <translation>Erhöht/verringert die Anzahl der Werte pro Diagramm</translation>
    </message>
    <message>
        <source>Keine Module gefunden.</source>
        <comment>32790</comment>
        <translation>Keine Module gefunden.</translation>
    </message>
    <message>
        <source>Installation error. This application needs a newer version of the Qt libraries.
Its version has to be at least %1.
  Please install a newer version of these libraries.</source>
        <comment>24577</comment>
        <translation>Installationsfehler. Dieses Programm benötigt eine neuere Version der Qt-Bibliotheken.
Die Version muss mindestens %1 sein.
  Bitte installieren Sie eine neuere Version dieser Bibliotheken.</translation>
    </message>
    <message>
        <source>Activating already started application...</source>
        <comment>24578</comment>
        <translation>Das bereits gestartete Programm wird aktiviert...</translation>
    </message>
    <message>
        <source>Could&apos;nt activate already started application! Please do it yourself!</source>
        <comment>24579</comment>
        <translation>Das bereits gestartete Programm konnte nicht aktiviert werden! Bitte holen Sie es selbst in den Vordergrund!</translation>
    </message>
    <message>
        <source>Are you sure to create collisions on this NKP-Bus?</source>
        <comment>24627</comment>
        <translation>Wollen Sie auf diesem NKP-Bus wirklich Kollisionen erzeugen?</translation>
    </message>
    <message>
        <source>Please select a module before using this function!</source>
        <comment>24637</comment>
        <translation>Bitte wählen Sie vor dem Aufruf dieser Funktion ein Modul aus!</translation>
    </message>
    <message>
        <source>This function is not valid for a module of that status!</source>
        <comment>24638</comment>
        <translation>Diese Funktion ist für ein Modul in diesem Zustand nicht zulässig!</translation>
    </message>
    <message>
        <source>This function is only valid for enabled modules!</source>
        <comment>24639</comment>
        <translation>Diese Funktion ist nur für aktivierte Module zulässig!</translation>
    </message>
    <message>
        <source>Error accessing ComPort while setting station number!</source>
        <comment>24640</comment>
        <translation>Fehler beim Zugriff auf die serielle Schnittstelle beim Setzen der Stationsnummer!</translation>
    </message>
    <message>
        <source>Error on setting station number!</source>
        <comment>24641</comment>
        <translation>Fehler beim Setzen der Stationsnummer!</translation>
    </message>
    <message>
        <source>Opening COM port...</source>
        <comment>24647</comment>
        <translation>Serielle Schnittstelle wird geöffnet...</translation>
    </message>
    <message>
        <source>Resynchronizing module...</source>
        <comment>24648</comment>
        <translation>Modul wird neu synchronisiert...</translation>
    </message>
    <message>
        <source>No RS232 cable detected.
  Please, check if this cable is connected to the PC
  or if it is confirming to the NKP bus specification.</source>
        <comment>24651</comment>
        <translation>Kein RS232-Kabel erkannt.
  Bitte prüfen Sie, ob das Kabel am PC angeschlossen ist
  und ob es der NKP-Bus-Spezifikation entspricht.</translation>
    </message>
    <message>
        <source>COM-Port no longer available (although having been available before).
To resolve the problem, please
  check if meanwhile another program has been started that uses this COM port
  check if RS232 cable is still connected to PC and central module
  check if RS232 cable has been damaged
</source>
        <comment>24652</comment>
        <translation>Die serielle Schnittstelle ist nicht mehr verfügbar (obwohl sie vorher verfügbar war).
Zur Behebung bitte
  prüfen, ob inzwischen ein anderes Programm gestartet wurde, das diese Schnittstelle benutzt
  prüfen, ob das RS232-Kabel noch an PC und Zentralmodul angeschlossen ist
  prüfen, ob das RS232-Kabel beschädigt ist
</translation>
    </message>
    <message>
        <source>No answer from any module! Hints for resolving the problem:
  Please, check for power on the measuring circuit (Power LED at PX-ROV4/PX-23R).
  Please, check connection between the central module (PX-ROV4/PX-23R) and PC
  (or if appropriate from Terrix module to PC).
  Please, check the connections between the central module and its connected client ones.
  If appropriate try to completely rescan the NKP-bus.</source>
        <comment>24653</comment>
        <translation>Kein Modul antwortet! Hinweise zur Fehlersuche:
  Bitte prüfen Sie die Spannungsversorgung des Meßkreises (Power-LED am PX-ROV4/PX-23R).
  Bitte prüfen Sie die Verbindung zwischen dem Zentralmodul (PX-ROV4/PX-23R) und dem PC
  (bzw. gegebenenfalls vom Terrix-Modul zum PC).
  Bitte prüfen Sie die Verbindungen zwischen dem Zentralmodul und den daran angeschlossenen Modulen.
  Suchen Sie gegebenenfalls den NKP-Bus komplett neu ab.</translation>
    </message>
    <message>
        <source>No Module were found at the bus; also earlier none were found. Therefore the module list is empty.</source>
        <comment>24654</comment>
        <translation>Am Bus wurden keine Module gefunden, auch früher wurden keine gefunden. Die Modulliste ist deshalb leer.</translation>
    </message>
    <message>
        <source>Unable to open any COM ports.</source>
        <comment>24655</comment>
        <translation>Es konnte keine serielle Schnittstelle geöffnet werden.</translation>
    </message>
    <message>
        <source>Not enough timers available for this window!</source>
        <comment>24656</comment>
        <translation>Für dieses Fenster stehen nicht genügend Timer zur Verfügung!</translation>
    </message>
    <message>
        <source>Collisions are still available!</source>
        <comment>24657</comment>
        <translation>Es sind noch Kollisionen vorhanden!</translation>
    </message>
    <message>
        <source>Are you sure to delete this measuring values?</source>
        <comment>24667</comment>
        <translation>Wollen Sie diese Meßwerte wirklich löschen?</translation>
    </message>
    <message>
        <source>Are you sure to delete all measuring values?</source>
        <comment>24668</comment>
        <translation>Wollen Sie wirklich alle Meßwerte löschen?</translation>
    </message>
    <message>
        <source>Failed to delete measuring values!</source>
        <comment>24669</comment>
        <translation>Die Meßwerte konnten nicht gelöscht werden!</translation>
    </message>
    <message>
        <source>The module could not flawlessly be addressed!</source>
        <comment>24671</comment>
        <translation>Das Modul konnte nicht fehlerfrei angesprochen werden!</translation>
    </message>
    <message>
        <source>No module selected!</source>
        <comment>24707</comment>
        <translation>Kein Modul ausgewählt!</translation>
    </message>
    <message>
        <source>This function is invalid for module of that status!</source>
        <comment>24708</comment>
        <translation>Diese Funktion ist für ein Modul in diesem Zustand ungültig!</translation>
    </message>
    <message>
        <source>Are you sure to remove this module from the meas. circuit?</source>
        <comment>24717</comment>
        <translation>Wollen Sie dieses Modul wirklich aus dem Meßkreis entfernen?</translation>
    </message>
    <message>
        <source>Please enter a serial number into the appropriated field!</source>
        <comment>24727</comment>
        <translation>Bitte geben Sie in das dafür vorgesehene Feld eine Seriennummer ein!</translation>
    </message>
    <message>
        <source>Serial number is already in list!</source>
        <comment>24728</comment>
        <translation>Die Seriennummer ist bereits in der Liste!</translation>
    </message>
    <message>
        <source>Failed to insert serial number into list!</source>
        <comment>24729</comment>
        <translation>Die Seriennummer konnte nicht in die Liste eingefügt werden!</translation>
    </message>
    <message>
        <source>Are you sure to delete the marked entry?</source>
        <comment>24730</comment>
        <translation>Wollen Sie den markierten Eintrag wirklich löschen?</translation>
    </message>
    <message>
        <source>Active</source>
        <comment>24737</comment>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Status</source>
        <comment>24738</comment>
        <translation>Status</translation>
    </message>
    <message>
        <source>Station</source>
        <comment>24739</comment>
        <translation>Station</translation>
    </message>
    <message>
        <source>Ser.#</source>
        <comment>24740</comment>
        <translation>Ser.#</translation>
    </message>
    <message>
        <source>Module</source>
        <comment>24741</comment>
        <translation>Modul</translation>
    </message>
    <message>
        <source>Place</source>
        <comment>24742</comment>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Conv. count</source>
        <comment>24743</comment>
        <translation>Anz. Mittelungen</translation>
    </message>
    <message>
        <source>Comv. time</source>
        <comment>24744</comment>
        <translation>Mittelungszeit</translation>
    </message>
    <message>
        <source>Last meas.</source>
        <comment>24745</comment>
        <translation>Letzte Messung</translation>
    </message>
    <message>
        <source>Switch</source>
        <comment>24746</comment>
        <translation>Schalter</translation>
    </message>
    <message>
        <source>Meas. value</source>
        <comment>24747</comment>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Values</source>
        <comment>24748</comment>
        <translation>Werte</translation>
    </message>
    <message>
        <source>Meas. values for Modul having Serial# %u</source>
        <comment>24757</comment>
        <translation>Meßwerte für Modul mit Serien-Nr. %u</translation>
    </message>
    <message>
        <source>Saving Binary Meas. Data to Disk</source>
        <comment>24766</comment>
        <translation>Binäre Meßdaten auf Diskette sichern</translation>
    </message>
    <message>
        <source>Please insert an empty floppy disk into drive a:
and then press [OK].
</source>
        <comment>24767</comment>
        <translation>Bitte legen Sie eine leere Diskette in Laufwerk a: ein
und drücken Sie dann [OK].
</translation>
    </message>
    <message>
        <source>stop</source>
        <comment>24777</comment>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Successfully converted binary Meas. Data to ASCII.</source>
        <comment>24786</comment>
        <translation>Binäre Meßdaten erfolgreich nach ASCII umgewandelt.</translation>
    </message>
    <message>
        <source>Error(s) detected while converting Meas. Data from binary to ASCII!</source>
        <comment>24787</comment>
        <translation>Beim Umwandeln der Meßdaten von binär nach ASCII sind Fehler aufgetreten!</translation>
    </message>
    <message>
        <source>Couldn&apos;t find any COM ports.
  Either all ports are yet in use or your PC does not have any COM ports.</source>
        <comment>5000</comment>
        <translation>Es wurden keine seriellen Schnittstellen gefunden.
  Entweder sind alle Schnittstellen schon belegt oder Ihr PC hat keine seriellen Schnittstellen.</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <comment>5199</comment>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>Data block not received in time</source>
        <comment>5201</comment>
        <translation>Data block not received in time</translation>
    </message>
    <message>
        <source>Fatal internal error which init. the module</source>
        <comment>5202</comment>
        <translation>Fatal internal error which init. the module</translation>
    </message>
    <message>
        <source>Check sum error in data block</source>
        <comment>5203</comment>
        <translation>Check sum error in data block</translation>
    </message>
    <message>
        <source>V24 error (framing, parity or overflow)</source>
        <comment>5204</comment>
        <translation>V24 error (framing, parity or overflow)</translation>
    </message>
    <message>
        <source>Reserved</source>
        <comment>5205</comment>
        <translation>Reserved</translation>
    </message>
    <message>
        <source>Command is not implemented on module</source>
        <comment>5206</comment>
        <translation>Command is not implemented on module</translation>
    </message>
    <message>
        <source>Parameters in data block invalid</source>
        <comment>5207</comment>
        <translation>Parameters in data block invalid</translation>
    </message>
    <message>
        <source>Command cannot be executed &apos;cos module is already busy</source>
        <comment>5208</comment>
        <translation>Command cannot be executed &apos;cos module is already busy</translation>
    </message>
    <message>
        <source>Module does not answer</source>
        <comment>5209</comment>
        <translation>Module does not answer</translation>
    </message>
    <message>
        <source>Received incomplete addr block</source>
        <comment>5210</comment>
        <translation>Received incomplete addr block</translation>
    </message>
    <message>
        <source>Checksum error in received addr block (collison found?)</source>
        <comment>5211</comment>
        <translation>Checksum error in received addr block (collison found?)</translation>
    </message>
    <message>
        <source>No data received</source>
        <comment>5212</comment>
        <translation>No data received</translation>
    </message>
    <message>
        <source>Received incomplete data block</source>
        <comment>5213</comment>
        <translation>Received incomplete data block</translation>
    </message>
    <message>
        <source>No TDR impulses.
Possible reasons: Probe not connected or probe cable damaged, TDR compensation cable longer than probe cable, or DAV-IRUZ damaged</source>
        <comment>5530</comment>
        <translation>No TDR impulses.
Possible reasons: Probe not connected or probe cable damaged, TDR compensation cable longer than probe cable, or DAV-IRUZ damaged</translation>
    </message>
    <message>
        <source>Meas. value too low.
Possible reasons: Probe out-of material or material too dry or wrong minimum value</source>
        <comment>5566</comment>
        <translation>Meas. value too low.
Possible reasons: Probe out-of material or material too dry or wrong minimum value</translation>
    </message>
    <message>
        <source>Set active calibration</source>
        <comment>32808</comment>
        <translation>Aktive Kalibrierung setzen</translation>
    </message>
</context>
<context>
    <name>terrix::BusActivity</name>
    <message>
        <source>The bus is busy (%1).
Please wait until that has finished.</source>
        <translation>Der Bus ist belegt (%1).
Bitte warten Sie, bis dieser Vorgang beendet ist.</translation>
    </message>
    <message>
        <source>The measuring loop is using the bus, so bus commands must wait.
Stop the measuring loop in the measuring circuit window, then try again.</source>
        <translation>Die Meßschleife benutzt den Bus, deshalb müssen Busbefehle warten.
Halten Sie die Meßschleife im Fenster „Meßkreis“ an und versuchen Sie es dann erneut.</translation>
    </message>
</context>
<context>
    <name>terrix::CAboutDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Copyright © ORVA GmbH. All rights reserved.</source>
        <translation>Copyright © ORVA GmbH. Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>%1 Version %2.%3 (Build %4.%5)</source>
        <translation>%1 Version %2.%3 (Build %4.%5)</translation>
    </message>
</context>
<context>
    <name>terrix::CActiveCalibDlg</name>
    <message>
        <source>Setting Active Calibration</source>
        <translation>Aktive Kalibrierung einstellen</translation>
    </message>
    <message>
        <source>Previous calibration:</source>
        <translation>Bisherige Kalibrierung:</translation>
    </message>
    <message>
        <source>&amp;New calibration:</source>
        <translation>&amp;Neue Kalibrierung:</translation>
    </message>
    <message>
        <source>Set new calibration</source>
        <translation>Neue Kalibrierung setzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>terrix::CAppParamsDlg</name>
    <message>
        <source>XV Application Parameters</source>
        <translation>XV-Anwendungsparameter</translation>
    </message>
    <message>
        <source>Previous value</source>
        <translation>Bisheriger Wert</translation>
    </message>
    <message>
        <source>New value</source>
        <translation>Neuer Wert</translation>
    </message>
    <message>
        <source>Previous count</source>
        <translation>Bisherige Anzahl</translation>
    </message>
    <message>
        <source>New count</source>
        <translation>Neue Anzahl</translation>
    </message>
    <message>
        <source>Offset Value in &amp;Percentage</source>
        <translation>Offsetwert in &amp;Prozent</translation>
    </message>
    <message>
        <source>&amp;Averaging Time</source>
        <translation>&amp;Mittelungszeit</translation>
    </message>
    <message>
        <source>&amp;Error66 Delay</source>
        <translation>&amp;Error66-Verzögerung</translation>
    </message>
    <message>
        <source>Queue-&amp;Full Time</source>
        <translation>Zeit bis &amp;Warteschlange voll</translation>
    </message>
    <message>
        <source>Queue-E&amp;mpty Time</source>
        <translation>Zeit bis Warteschlange &amp;leer</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>units of 10 measurements</source>
        <translation>Einheiten zu 10 Messungen</translation>
    </message>
    <message>
        <source>measurements</source>
        <translation>Messungen</translation>
    </message>
    <message>
        <source>Number of measurements (Error66 Delay: units of 10 measurements)</source>
        <translation>Anzahl der Messungen (Error66-Verzögerung: Einheiten zu 10 Messungen)</translation>
    </message>
    <message>
        <source>Set All Offsets and A&amp;veTime</source>
        <translation>&amp;Alle Offsets und Mittelungszeiten setzen</translation>
    </message>
    <message>
        <source>&amp;Save Parameters</source>
        <translation>Parameter &amp;speichern</translation>
    </message>
    <message>
        <source>&amp;Read Parameters from File</source>
        <translation>Parameter aus &amp;Datei lesen</translation>
    </message>
    <message>
        <source>Set Parameters</source>
        <translation>Parameter setzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Station %1 did not take the parameters; the modules after it were not changed.</source>
        <translation>Station %1 hat die Parameter nicht übernommen; die Module danach wurden nicht geändert.</translation>
    </message>
    <message numerus="yes">
        <source>Offset and averaging time were set in %n XV module(s). Only XV modules hold them; skipped:
%1</source>
        <translation>
            <numerusform>Offset und Mittelungszeit wurden in %n XV-Modul gesetzt. Nur XV-Module haben diese Parameter; übersprungen:
%1</numerusform>
            <numerusform>Offset und Mittelungszeit wurden in %n XV-Modulen gesetzt. Nur XV-Module haben diese Parameter; übersprungen:
%1</numerusform>
        </translation>
    </message>
    <message>
        <source>Save Parameters</source>
        <translation>Parameter speichern</translation>
    </message>
    <message>
        <source>Read Parameters from File</source>
        <translation>Parameter aus Datei lesen</translation>
    </message>
</context>
<context>
    <name>terrix::CCoefficientsDlg</name>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Material and Temperature Coefficients</source>
        <translation>Material- und Temperaturkoeffizienten</translation>
    </message>
    <message>
        <source>Module description</source>
        <translation>Modulbeschreibung</translation>
    </message>
    <message>
        <source>&amp;File description</source>
        <translation>&amp;Dateibeschreibung</translation>
    </message>
    <message>
        <source>Calibrations sorted by &amp;switch for material and temperature</source>
        <translation>Kalibrierungen nach &amp;Schalterstellung für Material und Temperatur</translation>
    </message>
    <message>
        <source>Coefficients for &amp;selected switch</source>
        <translation>Koeffizienten der &amp;gewählten Schalterstellung</translation>
    </message>
    <message>
        <source>Serial no.:</source>
        <translation>Seriennr.:</translation>
    </message>
    <message>
        <source>Module name:</source>
        <translation>Modulname:</translation>
    </message>
    <message>
        <source>Station no.:</source>
        <translation>Stationsnr.:</translation>
    </message>
    <message>
        <source>File name:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Verzeichnis:</translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Kommentar:</translation>
    </message>
    <message>
        <source>Open LOC file</source>
        <translation>LOC-Datei öffnen</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Switch</source>
        <translation>Schalter</translation>
    </message>
    <message>
        <source>Material: module ID</source>
        <translation>Material: Modul-ID</translation>
    </message>
    <message>
        <source>Material: file ID</source>
        <translation>Material: Datei-ID</translation>
    </message>
    <message>
        <source>Temperature: module ID</source>
        <translation>Temperatur: Modul-ID</translation>
    </message>
    <message>
        <source>Temperature: file ID</source>
        <translation>Temperatur: Datei-ID</translation>
    </message>
    <message>
        <source>Coefficient</source>
        <translation>Koeffizient</translation>
    </message>
    <message>
        <source>for material in module</source>
        <translation>Material im Modul</translation>
    </message>
    <message>
        <source>for material in file</source>
        <translation>Material in Datei</translation>
    </message>
    <message>
        <source>for temperature in module</source>
        <translation>Temperatur im Modul</translation>
    </message>
    <message>
        <source>for temperature in file</source>
        <translation>Temperatur in Datei</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Reread
act. calibration ID</source>
        <translation>Aktive Kalibrier-ID
neu lesen</translation>
    </message>
    <message>
        <source>Set act. &amp;calibration</source>
        <translation>Aktive &amp;Kalibrierung setzen</translation>
    </message>
    <message>
        <source>Reread module</source>
        <translation>Modul neu lesen</translation>
    </message>
    <message>
        <source>Reread files</source>
        <translation>Dateien neu lesen</translation>
    </message>
    <message>
        <source>Program module</source>
        <translation>Modul programmieren</translation>
    </message>
    <message>
        <source>Program all modules</source>
        <translation>Alle Module programmieren</translation>
    </message>
    <message>
        <source>Only XV modules were programmed; skipped:
%1</source>
        <translation>Nur XV-Module wurden programmiert; übersprungen:
%1</translation>
    </message>
    <message>
        <source>LOC file (*.LOC *.loc)</source>
        <translation>LOC-Datei (*.LOC *.loc)</translation>
    </message>
</context>
<context>
    <name>terrix::CConversionTimeDlg</name>
    <message>
        <source>Setting Conversion Time</source>
        <translation>Wandlungszeit einstellen</translation>
    </message>
    <message>
        <source>Conversion time</source>
        <translation>Wandlungszeit</translation>
    </message>
    <message>
        <source>Previous value:</source>
        <translation>Bisheriger Wert:</translation>
    </message>
    <message>
        <source>&amp;New value:</source>
        <translation>&amp;Neuer Wert:</translation>
    </message>
    <message>
        <source>[s]</source>
        <translation>[s]</translation>
    </message>
    <message>
        <source>&amp;Set choosen value</source>
        <translation>Gewählten Wert &amp;setzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Corresponds to %1 conversions</source>
        <translation>Entspricht %1 Wandlungen</translation>
    </message>
</context>
<context>
    <name>terrix::CCreateCollisionsDlg</name>
    <message>
        <source>Create Collisions on NKP-Bus</source>
        <translation>Kollisionen auf dem NKP-Bus erzeugen</translation>
    </message>
    <message>
        <source>Act. status of bus</source>
        <translation>Aktueller Buszustand</translation>
    </message>
    <message>
        <source>Create collisions</source>
        <translation>Kollisionen erzeugen</translation>
    </message>
    <message>
        <source>Num. of collisions:</source>
        <translation>Anz. Kollisionen:</translation>
    </message>
    <message>
        <source>known modules:</source>
        <translation>bekannte Module:</translation>
    </message>
    <message>
        <source>on &amp;address:</source>
        <translation>auf &amp;Adresse:</translation>
    </message>
    <message>
        <source>Create &amp;collisions</source>
        <translation>&amp;Kollisionen erzeugen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Station %1 is reserved; choose 0 to 250 or 252.</source>
        <translation>Station %1 ist reserviert; bitte 0 bis 250 oder 252 wählen.</translation>
    </message>
</context>
<context>
    <name>terrix::CEditNumBase</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles &amp;auswählen</translation>
    </message>
    <message>
        <source>Characters must be a number.
</source>
        <translation>Die Zeichen müssen eine Zahl sein.
</translation>
    </message>
    <message>
        <source>Value must be at least %1.
</source>
        <translation>Der Wert muß mindestens %1 sein.
</translation>
    </message>
    <message>
        <source>Value must be less or equal than %1.
</source>
        <translation>Der Wert muß kleiner oder gleich %1 sein.
</translation>
    </message>
    <message>
        <source>Characters must form a number.
</source>
        <translation>Die Zeichen müssen eine Zahl bilden.
</translation>
    </message>
    <message>
        <source>Value must be less or equal than least %1.
</source>
        <translation>Der Wert muß kleiner oder gleich %1 sein.
</translation>
    </message>
    <message>
        <source>The resulting value becomes too low: %1&quot;
Paste Command Ignored</source>
        <translation>Der entstehende Wert wird zu klein: %1&quot;
Einfügen ignoriert</translation>
    </message>
    <message>
        <source>The resulting value becomes too high: %1&quot;
Paste Command Ignored</source>
        <translation>Der entstehende Wert wird zu groß: %1&quot;
Einfügen ignoriert</translation>
    </message>
    <message>
        <source>The format of the resulting string is wrong: %1&quot;
Paste Command Ignored</source>
        <translation>Das Format des entstehenden Textes ist falsch: %1&quot;
Einfügen ignoriert</translation>
    </message>
    <message>
        <source>Paste Notice</source>
        <translation>Hinweis zum Einfügen</translation>
    </message>
</context>
<context>
    <name>terrix::CError66Dlg</name>
    <message>
        <source>Change Limit for Error66 Activation</source>
        <translation>Grenzwert für Error66-Auslösung ändern</translation>
    </message>
    <message>
        <source>Now Value (%)</source>
        <translation>Aktueller Wert (%)</translation>
    </message>
    <message>
        <source>&amp;New Value (%)</source>
        <translation>&amp;Neuer Wert (%)</translation>
    </message>
    <message>
        <source>Set New Value</source>
        <translation>Neuen Wert setzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>terrix::CExportValuesDlg</name>
    <message>
        <source>Export values</source>
        <translation>Messwerte exportieren</translation>
    </message>
    <message>
        <source>Values</source>
        <translation>Messwerte</translation>
    </message>
    <message>
        <source>&amp;Shown on the plot: %1 to %2</source>
        <translation>&amp;Im Diagramm gezeigte: %1 bis %2</translation>
    </message>
    <message>
        <source>&amp;Shown on the plot: none</source>
        <translation>&amp;Im Diagramm gezeigte: keine</translation>
    </message>
    <message>
        <source>&amp;All %1 values</source>
        <translation>&amp;Alle %1 Messwerte</translation>
    </message>
    <message>
        <source>Semicolon ( ; )</source>
        <translation>Semikolon ( ; )</translation>
    </message>
    <message>
        <source>Comma ( , )</source>
        <translation>Komma ( , )</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>Comma ( 1,5 )</source>
        <translation>Komma ( 1,5 )</translation>
    </message>
    <message>
        <source>Point ( 1.5 )</source>
        <translation>Punkt ( 1.5 )</translation>
    </message>
    <message>
        <source>Leave values that could not be &amp;measured empty</source>
        <translation>Nicht &amp;messbare Werte leer lassen</translation>
    </message>
    <message>
        <source>&amp;Column separator:</source>
        <translation>&amp;Spaltentrenner:</translation>
    </message>
    <message>
        <source>&amp;Decimal mark:</source>
        <translation>&amp;Dezimalzeichen:</translation>
    </message>
</context>
<context>
    <name>terrix::CHaltMeasStateDlg</name>
    <message>
        <source>Halt Measuring State</source>
        <translation>Meßhalt-Zustand</translation>
    </message>
    <message>
        <source>Set Halt Measuring State</source>
        <translation>Meßhalt-Zustand setzen</translation>
    </message>
    <message>
        <source>Measuring</source>
        <translation>Messung läuft</translation>
    </message>
    <message>
        <source>Halt Measuring by Signal</source>
        <translation>Meßhalt durch Signal</translation>
    </message>
    <message>
        <source>Halt Measuring by Command</source>
        <translation>Meßhalt durch Befehl</translation>
    </message>
    <message>
        <source>Halt Measuring by both</source>
        <translation>Meßhalt durch beides</translation>
    </message>
    <message>
        <source>&amp;Release by Command</source>
        <translation>Per Befehl &amp;freigeben</translation>
    </message>
    <message>
        <source>&amp;Halt by Command</source>
        <translation>Per Befehl &amp;anhalten</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>terrix::CMainFrame</name>
    <message>
        <source>Serial &amp;ports...</source>
        <translation>Serielle &amp;Ports...</translation>
    </message>
    <message>
        <source>Bus &amp;traffic...</source>
        <translation>Bus&amp;verkehr...</translation>
    </message>
    <message>
        <source>Choose the device behind each COM port
Serial ports</source>
        <translation>Wählt das Gerät hinter jeder COM-Schnittstelle
Serielle Ports</translation>
    </message>
    <message>
        <source>Show the frames that go over the bus
Bus traffic</source>
        <translation>Zeigt die Telegramme auf dem Bus an
Busverkehr</translation>
    </message>
    <message>
        <source>Publish &amp;values...</source>
        <translation>&amp;Werte veröffentlichen...</translation>
    </message>
    <message>
        <source>Send every stored value to an MQTT broker
Publish values</source>
        <translation>Jeden gespeicherten Wert an einen MQTT-Broker senden
Werte veröffentlichen</translation>
    </message>
</context>
<context>
    <name>terrix::CMeasCircuitDlg</name>
    <message>
        <source>Measuring circuit</source>
        <translation>Meßkreis</translation>
    </message>
    <message>
        <source># modules:</source>
        <translation>Anz. Module:</translation>
    </message>
    <message>
        <source>Next measuring</source>
        <translation>Nächste Messung</translation>
    </message>
    <message>
        <source>in:</source>
        <translation>in:</translation>
    </message>
    <message>
        <source>Meas. &amp;rate:</source>
        <translation>Meß&amp;rate:</translation>
    </message>
    <message>
        <source>&amp;Meas. loop</source>
        <translation>&amp;Meßschleife</translation>
    </message>
    <message>
        <source>&amp;Single meas.</source>
        <translation>&amp;Einzelmessung</translation>
    </message>
    <message>
        <source>&amp;Display meas. values</source>
        <translation>Meßwerte &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;Erase meas. values</source>
        <translation>Meßwerte &amp;löschen</translation>
    </message>
    <message>
        <source>Display &amp;all meas. vals.</source>
        <translation>Alle Meßwerte an&amp;zeigen</translation>
    </message>
    <message>
        <source>Erase all meas. &amp;vals.</source>
        <translation>Alle Meßwerte l&amp;öschen</translation>
    </message>
    <message>
        <source>&amp;Offset correct.</source>
        <translation>&amp;Offsetkorr.</translation>
    </message>
    <message>
        <source>&amp;Calibr. coeff.</source>
        <translation>&amp;Kalibrier.koeff.</translation>
    </message>
    <message>
        <source>Convers. &amp;time</source>
        <translation>Mi&amp;ttelungszeit</translation>
    </message>
    <message>
        <source>Appli. Paras</source>
        <translation>Appli. Para</translation>
    </message>
    <message>
        <source>HaltMState</source>
        <translation>HaltMZustand</translation>
    </message>
    <message>
        <source>Copy measurement &amp;files...</source>
        <translation>Meßdateien ko&amp;pieren...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>terrix::CMeasValueDlg</name>
    <message>
        <source>&amp;Values</source>
        <translation>&amp;Messwerte</translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation>E&amp;xportieren...</translation>
    </message>
    <message>
        <source>Save plot as &amp;picture...</source>
        <translation>Diagramm als &amp;Bild speichern...</translation>
    </message>
    <message>
        <source>&amp;Erase meas. values</source>
        <translation>Messwerte &amp;löschen</translation>
    </message>
    <message>
        <source>Please select the rows to copy.</source>
        <translation>Bitte wählen Sie die Zeilen aus, die kopiert werden sollen.</translation>
    </message>
    <message>
        <source>%1 rows are selected; at most %2 rows are copied to the clipboard. &quot;Export...&quot; writes any number of rows to a file.</source>
        <translation>%1 Zeilen sind ausgewählt; in die Zwischenablage werden höchstens %2 Zeilen kopiert. &quot;Exportieren...&quot; schreibt beliebig viele Zeilen in eine Datei.</translation>
    </message>
    <message>
        <source>Export values</source>
        <translation>Messwerte exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The values could not be exported:
%1</source>
        <translation>Die Messwerte konnten nicht exportiert werden:
%1</translation>
    </message>
    <message>
        <source>Save plot as picture</source>
        <translation>Diagramm als Bild speichern</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
    <message>
        <source>The picture could not be saved as %1.</source>
        <translation>Das Bild konnte nicht als %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>  SPP: </source>
        <translation>  Werte/Diagramm: </translation>
    </message>
</context>
<context>
    <name>terrix::CModuleConfigDialog</name>
    <message>
        <source>station %1 (%2, serial %3)</source>
        <translation>Station %1 (%2, Seriennr. %3)</translation>
    </message>
</context>
<context>
    <name>terrix::COffsetDlg</name>
    <message>
        <source>Setting Offset for Calibration</source>
        <translation>Offset für Kalibrierung einstellen</translation>
    </message>
    <message>
        <source>Previous offset:</source>
        <translation>Bisheriger Offset:</translation>
    </message>
    <message>
        <source>New &amp;offset:</source>
        <translation>Neuer &amp;Offset:</translation>
    </message>
    <message>
        <source>Meas. value changed &amp;by:</source>
        <translation>Messwert ändern &amp;um:</translation>
    </message>
    <message>
        <source>+ 0.1%</source>
        <translation>+ 0.1%</translation>
    </message>
    <message>
        <source>- 0.1%</source>
        <translation>- 0.1%</translation>
    </message>
    <message>
        <source>&amp;Set new offset</source>
        <translation>Neuen Offset &amp;setzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The module takes offsets from -99.9 to 99.9 %.</source>
        <translation>Das Modul nimmt nur Offsets von -99,9 bis 99,9 % an.</translation>
    </message>
</context>
<context>
    <name>terrix::CPlacementDialog</name>
    <message>
        <source>Do you want to carry out the change?</source>
        <translation>Wollen Sie die Änderung durchführen?</translation>
    </message>
    <message>
        <source>The change could not be carried out!</source>
        <translation>Änderung konnte nicht ausgeführt werden!</translation>
    </message>
    <message>
        <source>Change carried out.</source>
        <translation>Änderung ausgeführt.</translation>
    </message>
    <message>
        <source>Do you want to discard your change?</source>
        <translation>Wollen Sie Ihre Änderung verwerfen?</translation>
    </message>
</context>
<context>
    <name>terrix::CPublishDlg</name>
    <message>
        <source>Publish Values</source>
        <translation>Werte veröffentlichen</translation>
    </message>
    <message>
        <source>&amp;Broker:</source>
        <translation>&amp;Broker:</translation>
    </message>
    <message>
        <source>Topic &amp;prefix:</source>
        <translation>Themen-&amp;Präfix:</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>Ben&amp;utzer:</translation>
    </message>
    <message>
        <source>Pass&amp;word file:</source>
        <translation>Pass&amp;wortdatei:</translation>
    </message>
    <message>
        <source>&amp;CA file:</source>
        <translation>&amp;CA-Datei:</translation>
    </message>
    <message>
        <source>Client c&amp;ertificate:</source>
        <translation>Client-&amp;Zertifikat:</translation>
    </message>
    <message>
        <source>Client &amp;key:</source>
        <translation>Client-&amp;Schlüssel:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Every stored value is sent to the broker as &lt;prefix&gt;/&lt;serial&gt;/record. Leave the broker empty to publish nothing. The password is read from the password file (or from TERRIX_MQTT_PASSWORD) and never stored here. The certificate files are used with mqtts:// only.</source>
        <translation>Jeder gespeicherte Wert geht als &lt;Präfix&gt;/&lt;Seriennummer&gt;/record an den Broker. Ohne Broker wird nichts veröffentlicht. Das Passwort wird aus der Passwortdatei (oder aus TERRIX_MQTT_PASSWORD) gelesen und nie hier gespeichert. Die Zertifikatsdateien gelten nur mit mqtts://.</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Testen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>No broker is given: nothing is published.</source>
        <translation>Kein Broker angegeben: Es wird nichts veröffentlicht.</translation>
    </message>
    <message>
        <source>The broker address is malformed: %1</source>
        <translation>Die Broker-Adresse ist fehlerhaft: %1</translation>
    </message>
    <message>
        <source>Connecting to %1...</source>
        <translation>Verbinde mit %1...</translation>
    </message>
    <message>
        <source>These settings cannot be used now: %1

Store them anyway?</source>
        <translation>Diese Einstellungen sind zurzeit nicht verwendbar: %1

Trotzdem speichern?</translation>
    </message>
    <message>
        <source>The settings could not be stored in the settings file.</source>
        <translation>Die Einstellungen konnten nicht in der Einstellungsdatei gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>terrix::CResetBaudDlg</name>
    <message>
        <source>Change Reset Baudrate</source>
        <translation>Reset-Baudrate ändern</translation>
    </message>
    <message>
        <source>Now Reset Baudrate</source>
        <translation>Aktuelle Reset-Baudrate</translation>
    </message>
    <message>
        <source>Set Reset Baudrate 9600</source>
        <translation>Reset-Baudrate 9600 setzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>terrix::CResolveCollisionsByKnownSerNos</name>
    <message>
        <source>S&amp;erial no.:</source>
        <translation>Serien&amp;nr.:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Delete selection</source>
        <translation>Auswahl &amp;löschen</translation>
    </message>
    <message>
        <source>The list of known modules could not be saved:
%1</source>
        <translation>Die Liste der bekannten Module konnte nicht gespeichert werden:
%1</translation>
    </message>
</context>
<context>
    <name>terrix::CResolveCollisionsBySerNoRange</name>
    <message>
        <source>Scan range</source>
        <translation>Suchbereich</translation>
    </message>
    <message>
        <source>&amp;From serial no.:</source>
        <translation>&amp;Von Seriennr.:</translation>
    </message>
    <message>
        <source>&amp;To serial no.:</source>
        <translation>Bi&amp;s Seriennr.:</translation>
    </message>
</context>
<context>
    <name>terrix::CResolveCollisionsDlg</name>
    <message>
        <source>Resolve Collisions</source>
        <translation>Kollisionen auflösen</translation>
    </message>
    <message>
        <source>Methods</source>
        <translation>Methoden</translation>
    </message>
    <message>
        <source>searched until now</source>
        <translation>Bisher abgesucht</translation>
    </message>
    <message>
        <source>found until now</source>
        <translation>Bisher gefunden</translation>
    </message>
    <message>
        <source>Modules:</source>
        <translation>Module:</translation>
    </message>
    <message>
        <source>Collisions:</source>
        <translation>Kollisionen:</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The bus state could not be saved:
%1</source>
        <translation>Der Buszustand konnte nicht gespeichert werden:
%1</translation>
    </message>
    <message>
        <source>Collision successfully removed!</source>
        <translation>Kollision erfolgreich beseitigt!</translation>
    </message>
</context>
<context>
    <name>terrix::CResolveCollisionsOneByOne</name>
    <message>
        <source>S&amp;erial no.:</source>
        <translation>Serien&amp;nr.:</translation>
    </message>
</context>
<context>
    <name>terrix::CResolveCollisionsOpts</name>
    <message>
        <source>&amp;Range</source>
        <translation>Be&amp;reich</translation>
    </message>
    <message>
        <source>&amp;Known modules</source>
        <translation>&amp;Bekannte Module</translation>
    </message>
    <message>
        <source>&amp;Single module</source>
        <translation>&amp;Einzelnes Modul</translation>
    </message>
</context>
<context>
    <name>terrix::CScanDlg</name>
    <message>
        <source>Scanning Bus for Modules</source>
        <translation>Bus nach Modulen absuchen</translation>
    </message>
    <message>
        <source>Scanning now</source>
        <translation>Gerade abgefragt</translation>
    </message>
    <message>
        <source>Station no.:</source>
        <translation>Stationsnr.:</translation>
    </message>
    <message>
        <source>Last found module</source>
        <translation>Zuletzt gefundenes Modul</translation>
    </message>
    <message>
        <source>Serial no.:</source>
        <translation>Seriennr.:</translation>
    </message>
    <message>
        <source>Module name:</source>
        <translation>Modulname:</translation>
    </message>
    <message>
        <source>Module code:</source>
        <translation>Modulcode:</translation>
    </message>
    <message>
        <source>Scanned until now</source>
        <translation>Bisher abgesucht</translation>
    </message>
    <message>
        <source>Found until now</source>
        <translation>Bisher gefunden</translation>
    </message>
    <message>
        <source>Num. of modules:</source>
        <translation>Anzahl Module:</translation>
    </message>
    <message>
        <source>Num. of collisions:</source>
        <translation>Anzahl Kollisionen:</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The bus state could not be saved:
%1</source>
        <translation>Der Buszustand konnte nicht gespeichert werden:
%1</translation>
    </message>
</context>
<context>
    <name>terrix::CSerialPortsDlg</name>
    <message>
        <source>Serial Ports</source>
        <translation>Serielle Schnittstellen</translation>
    </message>
    <message>
        <source>&amp;Serial devices of this computer: none found</source>
        <translation>&amp;Serielle Geräte dieses Rechners: keine gefunden</translation>
    </message>
    <message>
        <source>&amp;Serial devices of this computer:</source>
        <translation>&amp;Serielle Geräte dieses Rechners:</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Stable name</source>
        <translation>Fester Name</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Use selected</source>
        <translation>Ausgewähltes verwenden</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Testen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Please choose a device for COM%1.</source>
        <translation>Bitte wählen Sie ein Gerät für COM%1.</translation>
    </message>
    <message>
        <source>COM%1 is in use by a bus operation of this program.</source>
        <translation>COM%1 wird gerade von einem Busvorgang dieses Programms benutzt.</translation>
    </message>
    <message>
        <source>%1 opens, and the interface cable answers.</source>
        <translation>%1 lässt sich öffnen, und das Schnittstellenkabel antwortet.</translation>
    </message>
    <message>
        <source>%1 opens, but no interface cable was detected (a pseudo-terminal has none).</source>
        <translation>%1 lässt sich öffnen, aber es wurde kein Schnittstellenkabel erkannt (ein Pseudo-Terminal hat keines).</translation>
    </message>
    <message>
        <source>The device of COM%1 could not be stored in the settings file.</source>
        <translation>Das Gerät für COM%1 konnte nicht in der Einstellungsdatei gespeichert werden.</translation>
    </message>
    <message>
        <source>Choose a listed device, type the path of a device, or enter &quot;sim&quot; for the simulated bus. Stable names under %1 stay the same when adapters are plugged in another order.</source>
        <translation>Wählen Sie ein aufgeführtes Gerät, geben Sie den Pfad eines Geräts ein oder „sim“ für den simulierten Bus. Feste Namen unter %1 bleiben gleich, auch wenn Adapter in anderer Reihenfolge eingesteckt werden.</translation>
    </message>
    <message>
        <source>Choose a listed port, type the name of a port (COM5), or enter &quot;sim&quot; for the simulated bus. The device manager shows which COM number an adapter was given.</source>
        <translation>Wählen Sie einen aufgeführten Anschluss, geben Sie den Namen eines Anschlusses ein (COM5) oder „sim“ für den simulierten Bus. Der Geräte-Manager zeigt, welche COM-Nummer ein Adapter erhalten hat.</translation>
    </message>
</context>
<context>
    <name>terrix::CSingleInstance</name>
    <message>
        <source>the lock file could not be created</source>
        <translation>die Sperrdatei konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>der Ordner existiert nicht</translation>
    </message>
    <message>
        <source>the folder is on a read-only file system</source>
        <translation>der Ordner liegt auf einem schreibgeschützten Dateisystem</translation>
    </message>
    <message>
        <source>you may not write in this folder</source>
        <translation>Sie dürfen in diesem Ordner nicht schreiben</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>Terrix cannot start: the lock file that keeps a second copy of the program from running could not be created in the data folder %1: %2.

Make room on the disk or make the folder writable, or choose another data folder with --data-dir or TERRIX_DATA_DIR.</source>
        <translation>Terrix kann nicht starten: Die Sperrdatei, die einen zweiten Start des Programms verhindert, konnte im Datenordner %1 nicht angelegt werden: %2.

Schaffen Sie Platz auf dem Datenträger, machen Sie den Ordner beschreibbar oder wählen Sie mit --data-dir oder TERRIX_DATA_DIR einen anderen Datenordner.</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>es ist kein Ordner</translation>
    </message>
</context>
<context>
    <name>terrix::CStationNumberDlg</name>
    <message>
        <source>Change Station Number</source>
        <translation>Stationsnummer ändern</translation>
    </message>
    <message>
        <source>Previous station number:</source>
        <translation>Bisherige Stationsnummer:</translation>
    </message>
    <message>
        <source>&amp;New station number:</source>
        <translation>&amp;Neue Stationsnummer:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Station %1 is already used by another module of the bus (serial number %2).
Please choose a free station.</source>
        <translation>Station %1 ist bereits von einem anderen Modul des Busses belegt (Seriennummer %2).
Bitte wählen Sie eine freie Station.</translation>
    </message>
    <message>
        <source>Move %1 from station %2 to station %3?</source>
        <translation>%1 von Station %2 auf Station %3 verlegen?</translation>
    </message>
</context>
<context>
    <name>terrix::CTerrixView</name>
    <message>
        <source>%1 &gt; %2 searches every station of the bus for modules.
%1 &gt; %3 asks only the modules that the last scan saved.</source>
        <translation>%1 &gt; %2 sucht an jeder Station des Busses nach Modulen.
%1 &gt; %3 fragt nur die Module ab, die beim letzten Absuchen gespeichert wurden.</translation>
    </message>
    <message>
        <source>No bus has been scanned yet.</source>
        <translation>Es wurde noch kein Bus abgesucht.</translation>
    </message>
    <message>
        <source>Modules listed from the bus the last scan saved: %1. They are not identified until a scan finds them.
%2 &gt; %3 shows them with their stored values.</source>
        <translation>Module aus dem beim letzten Absuchen gespeicherten Bus: %1. Sie gelten als nicht identifiziert, bis ein Absuchen sie findet.
%2 &gt; %3 zeigt sie mit ihren gespeicherten Meßwerten.</translation>
    </message>
</context>
<context>
    <name>terrix::CTrafficMonitor</name>
    <message>
        <source>Bus Traffic</source>
        <translation>Busverkehr</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>&amp;Save as text...</source>
        <translation>Als &amp;Text speichern...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message numerus="yes">
        <source>%n frame(s)</source>
        <translation>
            <numerusform>%n Telegramm</numerusform>
            <numerusform>%n Telegramme</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>paused: %n frame(s) not listed</source>
        <translation>
            <numerusform>angehalten: %n Telegramm nicht aufgeführt</numerusform>
            <numerusform>angehalten: %n Telegramme nicht aufgeführt</numerusform>
        </translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>Textdateien (*.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The bus traffic could not be saved to %1:
%2</source>
        <translation>Der Busverkehr konnte nicht in %1 gespeichert werden:
%2</translation>
    </message>
    <message>
        <source>set station by serial</source>
        <translation>Station per Seriennr. setzen</translation>
    </message>
    <message>
        <source>read station info</source>
        <translation>Stationsinfo lesen</translation>
    </message>
    <message>
        <source>set baud rate (all)</source>
        <translation>Baudrate setzen (alle)</translation>
    </message>
    <message>
        <source>program reset baud rate</source>
        <translation>Reset-Baudrate programmieren</translation>
    </message>
    <message>
        <source>read halt state</source>
        <translation>Haltezustand lesen</translation>
    </message>
    <message>
        <source>write halt state</source>
        <translation>Haltezustand schreiben</translation>
    </message>
    <message>
        <source>read application parameters</source>
        <translation>Applikationsparameter lesen</translation>
    </message>
    <message>
        <source>write application parameters</source>
        <translation>Applikationsparameter schreiben</translation>
    </message>
    <message>
        <source>read temperature calibration</source>
        <translation>Temperaturkalibrierung lesen</translation>
    </message>
    <message>
        <source>write temperature calibration</source>
        <translation>Temperaturkalibrierung schreiben</translation>
    </message>
    <message>
        <source>read XV block A</source>
        <translation>XV-Block A lesen</translation>
    </message>
    <message>
        <source>read XV block B</source>
        <translation>XV-Block B lesen</translation>
    </message>
    <message>
        <source>read active calibration</source>
        <translation>aktive Kalibrierung lesen</translation>
    </message>
    <message>
        <source>write active calibration</source>
        <translation>aktive Kalibrierung schreiben</translation>
    </message>
    <message>
        <source>read material calibration</source>
        <translation>Materialkalibrierung lesen</translation>
    </message>
    <message>
        <source>write material calibration</source>
        <translation>Materialkalibrierung schreiben</translation>
    </message>
    <message>
        <source>write zero offset</source>
        <translation>Nullpunkt-Offset schreiben</translation>
    </message>
    <message>
        <source>write analog configuration</source>
        <translation>Analogkonfiguration schreiben</translation>
    </message>
    <message>
        <source>write number of measurements</source>
        <translation>Anzahl Mittelungen schreiben</translation>
    </message>
    <message>
        <source>read zero offset</source>
        <translation>Nullpunkt-Offset lesen</translation>
    </message>
    <message>
        <source>read analog configuration</source>
        <translation>Analogkonfiguration lesen</translation>
    </message>
    <message>
        <source>read number of measurements</source>
        <translation>Anzahl Mittelungen lesen</translation>
    </message>
    <message>
        <source>write offset</source>
        <translation>Offset schreiben</translation>
    </message>
    <message>
        <source>read offset</source>
        <translation>Offset lesen</translation>
    </message>
    <message>
        <source>read sensor data</source>
        <translation>Sensordaten lesen</translation>
    </message>
    <message>
        <source>read measured values</source>
        <translation>Meßwerte lesen</translation>
    </message>
    <message>
        <source>start measurement</source>
        <translation>Messung starten</translation>
    </message>
</context>
<context>
    <name>terrix::CUserDataDlg</name>
    <message>
        <source>&amp;Place:</source>
        <translation>&amp;Ort:</translation>
    </message>
    <message>
        <source>&amp;Comments:</source>
        <translation>&amp;Kommentar:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>terrix::CheckModuleAtStation</name>
    <message>
        <source>The module at station %1 does not answer:
%2</source>
        <translation>Das Modul an Station %1 antwortet nicht:
%2</translation>
    </message>
    <message>
        <source>Station %1 is answered by the module with serial number %2, not by the selected module (serial number %3).
Please scan the bus again.</source>
        <translation>An Station %1 antwortet das Modul mit der Seriennummer %2, nicht das gewählte Modul (Seriennummer %3).
Bitte suchen Sie den Bus erneut ab.</translation>
    </message>
</context>
<context>
    <name>terrix::ConfigText</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Failed to request for TavikXV&apos;s actual switch postion!</source>
        <translation>Die aktuelle Schalterstellung des TavikXV konnte nicht abgefragt werden!</translation>
    </message>
    <message>
        <source>Error getting coefficient from module!</source>
        <translation>Fehler beim Lesen des Koeffizienten aus dem Modul!</translation>
    </message>
    <message>
        <source>Don&apos;t set reset baudrate!</source>
        <translation>Reset-Baudrate nicht gesetzt!</translation>
    </message>
    <message>
        <source>Don&apos;t get application parameters!</source>
        <translation>Applikationsparameter nicht erhalten!</translation>
    </message>
    <message>
        <source>Don&apos;t set application parameters!</source>
        <translation>Applikationsparameter nicht gesetzt!</translation>
    </message>
    <message>
        <source>Set Offset failed!</source>
        <translation>Setzen des Offsets fehlgeschlagen!</translation>
    </message>
    <message>
        <source>The offset must be a finite number of percent.</source>
        <translation>Der Offset muß eine endliche Zahl in Prozent sein.</translation>
    </message>
    <message>
        <source>Don&apos;t get analog config!</source>
        <translation>Analogkonfiguration nicht erhalten!</translation>
    </message>
    <message>
        <source>Don&apos;t set analog config!</source>
        <translation>Analogkonfiguration nicht gesetzt!</translation>
    </message>
    <message>
        <source>Don&apos;t get zero offset!</source>
        <translation>Nulloffset nicht erhalten!</translation>
    </message>
    <message>
        <source>Don&apos;t set measuring low limit!</source>
        <translation>Untere Meßgrenze nicht gesetzt!</translation>
    </message>
    <message>
        <source>The limit must lie between 0 and 100 %.</source>
        <translation>Die Grenze muß zwischen 0 und 100 % liegen.</translation>
    </message>
    <message>
        <source>Don&apos;t get Halt Measuring State!</source>
        <translation>Meß-Haltezustand nicht erhalten!</translation>
    </message>
    <message>
        <source>Don&apos;t get file name!</source>
        <translation>Keinen Dateinamen erhalten!</translation>
    </message>
    <message>
        <source>don&apos;t get file name!</source>
        <translation>Keinen Dateinamen erhalten!</translation>
    </message>
    <message>
        <source>Can&apos;t read file !</source>
        <translation>Datei kann nicht gelesen werden!</translation>
    </message>
    <message>
        <source>Can&apos;t open the file!</source>
        <translation>Die Datei kann nicht geöffnet werden!</translation>
    </message>
    <message>
        <source>Can&apos;t write the file!</source>
        <translation>Die Datei kann nicht geschrieben werden!</translation>
    </message>
    <message>
        <source>Can&apos;t read the file!</source>
        <translation>Die Datei kann nicht gelesen werden!</translation>
    </message>
    <message>
        <source>Number of parameters isn&apos;t 5,
Check it and try again please!</source>
        <translation>Die Anzahl der Parameter ist nicht 5,
bitte prüfen und erneut versuchen!</translation>
    </message>
    <message>
        <source>Program has not read (successfully) any calibration data from a module.
Additionally no calibration data has been retrieved from LOC files.
Therfor this function won&apos;t be executed!</source>
        <translation>Das Programm hat (erfolgreich) keine Kalibrierdaten aus einem Modul gelesen.
Außerdem wurden keine Kalibrierdaten aus LOC-Dateien geholt.
Deshalb wird diese Funktion nicht ausgeführt!</translation>
    </message>
    <message>
        <source>Program has not read (successfully) any calibration data from a module.
Either the module or the communication with the NKP-bus has been damaged.
If you continue to write any data into the module you possibly can destroy the module!
DO YOU STILL INSIST TO CONTINUE this operation?</source>
        <translation>Das Programm hat (erfolgreich) keine Kalibrierdaten aus einem Modul gelesen.
Entweder das Modul oder die Kommunikation mit dem NKP-Bus ist gestört.
Wenn Sie weiter Daten in das Modul schreiben, können Sie das Modul möglicherweise zerstören!
WOLLEN SIE DIESEN VORGANG TROTZDEM FORTSETZEN?</translation>
    </message>
    <message>
        <source>No calibration data has been read from the LOC files.
Therfor this operation will only write the actual calibration data into the module.
Are you sure to continue this operation?</source>
        <translation>Aus den LOC-Dateien wurden keine Kalibrierdaten gelesen.
Deshalb schreibt dieser Vorgang nur die aktuellen Kalibrierdaten in das Modul.
Wollen Sie diesen Vorgang wirklich fortsetzen?</translation>
    </message>
    <message>
        <source>No calibration data has been read from the LOC files.
Programming all modules writes the data of the LOC files into every module, so nothing has been written.</source>
        <translation>Aus den LOC-Dateien wurden keine Kalibrierdaten gelesen.
Das Programmieren aller Module schreibt die Daten der LOC-Dateien in jedes Modul, deshalb wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The actual calibration data is identical to that on the module!
Are you sure to rewrite the module&apos;s data?</source>
        <translation>Die aktuellen Kalibrierdaten sind mit denen im Modul identisch!
Wollen Sie die Daten des Moduls wirklich neu schreiben?</translation>
    </message>
    <message>
        <source>If including known modules, need to fully scan again!
Now continue program?</source>
        <translation>Wenn bekannte Module eingeschlossen sind, muß der Bus vollständig neu abgesucht werden!
Jetzt mit dem Programmieren fortfahren?</translation>
    </message>
    <message>
        <source>Writing data into module...</source>
        <translation>Daten werden in das Modul geschrieben...</translation>
    </message>
    <message>
        <source>Calibration data written into module.
Reading calibration data from module for verifying correctness of written data.</source>
        <translation>Kalibrierdaten in das Modul geschrieben.
Kalibrierdaten werden aus dem Modul gelesen, um die geschriebenen Daten zu prüfen.</translation>
    </message>
    <message>
        <source>Verifying written data...</source>
        <translation>Geschriebene Daten werden geprüft...</translation>
    </message>
    <message>
        <source>Loading data from module...</source>
        <translation>Daten werden aus dem Modul geladen...</translation>
    </message>
    <message>
        <source>Failed to write calibration data into selected module!</source>
        <translation>Die Kalibrierdaten konnten nicht in das gewählte Modul geschrieben werden!</translation>
    </message>
    <message>
        <source>Failed to read material calibration data from module!</source>
        <translation>Die Materialkalibrierdaten konnten nicht aus dem Modul gelesen werden!</translation>
    </message>
    <message>
        <source>calibration data successfully written into module.</source>
        <translation>Kalibrierdaten erfolgreich in das Modul geschrieben.</translation>
    </message>
    <message>
        <source>Failed to read LOC file!</source>
        <translation>Die LOC-Datei konnte nicht gelesen werden!</translation>
    </message>
    <message>
        <source>Before using this function, please enter a new calibration switch value!</source>
        <translation>Bitte geben Sie vor dieser Funktion einen neuen Kalibrierschalterwert ein!</translation>
    </message>
    <message>
        <source>CAUTION! Product selection switch will be activated by setting calibration 0.

  Are you sure to proceed?</source>
        <translation>ACHTUNG! Mit Kalibrierung 0 wird der Produktwahlschalter aktiviert.

  Wollen Sie wirklich fortfahren?</translation>
    </message>
    <message>
        <source>CAUTION! This function is fixing the selected calibration
  and deactivating the product selection switch!
  Please choose calibration 0 to activate the product selection switch.

  Are you sure to proceed?</source>
        <translation>ACHTUNG! Diese Funktion legt die gewählte Kalibrierung fest
  und deaktiviert den Produktwahlschalter!
  Wählen Sie Kalibrierung 0, um den Produktwahlschalter zu aktivieren.

  Wollen Sie wirklich fortfahren?</translation>
    </message>
    <message>
        <source>Failed to set active calibration</source>
        <translation>Die aktive Kalibrierung konnte nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Open %1 failed!</source>
        <translation>Öffnen von %1 fehlgeschlagen!</translation>
    </message>
    <message>
        <source>The LOC file names calibration files that are missing or cannot be read: %1</source>
        <translation>Die LOC-Datei nennt Kalibrierdateien, die fehlen oder nicht gelesen werden können: %1</translation>
    </message>
    <message>
        <source>The LOC file names calibration files that are missing or cannot be read, so nothing has been programmed: %1</source>
        <translation>Die LOC-Datei nennt Kalibrierdateien, die fehlen oder nicht gelesen werden können, deshalb wurde nichts programmiert: %1</translation>
    </message>
</context>
<context>
    <name>terrix::CoreText</name>
    <message>
        <source>the serial port</source>
        <translation>Die serielle Schnittstelle</translation>
    </message>
    <message>
        <source>The measuring loop is running on this port. Stop the measurement before using bus commands.</source>
        <translation>Die Meßschleife benutzt diese Schnittstelle. Beenden Sie die Messung, bevor Sie Busbefehle verwenden.</translation>
    </message>
    <message>
        <source>The station number was sent, but the bus state could not be saved.</source>
        <translation>Die Stationsnummer wurde gesendet, aber der Buszustand konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Station numbers range from 0 to 252.</source>
        <translation>Stationsnummern reichen von 0 bis 252.</translation>
    </message>
    <message>
        <source>Another module of the bus already uses that station number.</source>
        <translation>Ein anderes Modul des Busses benutzt diese Stationsnummer bereits.</translation>
    </message>
    <message>
        <source>The module does not answer at its new station number; the bus state was not changed. Scan the bus.</source>
        <translation>Das Modul antwortet nicht unter seiner neuen Stationsnummer; der Buszustand wurde nicht geändert. Suchen Sie den Bus ab.</translation>
    </message>
    <message>
        <source>record has no serial number</source>
        <translation>der Datensatz hat keine Seriennummer</translation>
    </message>
    <message>
        <source>the file is shorter than a measurement file header</source>
        <translation>die Datei ist kürzer als der Kopf einer Meßdatei</translation>
    </message>
    <message>
        <source>the file is not a measurement data file (wrong identification); it is left unchanged</source>
        <translation>die Datei ist keine Meßdatei (falsche Kennung); sie bleibt unverändert</translation>
    </message>
    <message>
        <source>the measurement data file has an unknown version; it is left unchanged</source>
        <translation>die Meßdatei hat eine unbekannte Version; sie bleibt unverändert</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>die Datei ist nicht geöffnet</translation>
    </message>
    <message>
        <source>the file is open for reading only</source>
        <translation>die Datei ist nur zum Lesen geöffnet</translation>
    </message>
    <message>
        <source>the file&apos;s records do not match this module&apos;s record layout (did the module change?); it is left unchanged: erase the file or move it elsewhere to measure this module again</source>
        <translation>die Datensätze der Datei passen nicht zum Datensatzaufbau dieses Moduls (wurde das Modul getauscht?); sie bleibt unverändert: löschen oder verschieben Sie die Datei, um dieses Modul wieder zu messen</translation>
    </message>
    <message>
        <source>no such record in the file</source>
        <translation>diesen Datensatz enthält die Datei nicht</translation>
    </message>
    <message>
        <source>no record size is set</source>
        <translation>keine Datensatzgröße gesetzt</translation>
    </message>
    <message>
        <source>the file belongs to another module (its header names another serial number); it is left unchanged</source>
        <translation>die Datei gehört zu einem anderen Modul (ihr Kopf nennt eine andere Seriennummer); sie bleibt unverändert</translation>
    </message>
    <message>
        <source>the file is in use by another writer</source>
        <translation>die Datei wird gerade von einem anderen Programm beschrieben</translation>
    </message>
    <message>
        <source>the output could not be written</source>
        <translation>die Ausgabe konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>not copied</source>
        <translation>nicht kopiert</translation>
    </message>
    <message>
        <source>incomplete copy</source>
        <translation>unvollständige Kopie</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>Kein Speicherplatz mehr auf dem Gerät</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Keine Berechtigung</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>Schreibgeschütztes Dateisystem</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>Datei oder Verzeichnis nicht gefunden</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>Ein-/Ausgabefehler</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Speicherplatzkontingent überschritten</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>Gerät oder Ressource belegt</translation>
    </message>
    <message>
        <source>Permission denied opening %1. Add your user to the &apos;dialout&apos; group (sudo usermod -aG dialout $USER), then log in again.</source>
        <translation>%1: Zugriff verweigert. Nehmen Sie Ihren Benutzer in die Gruppe &apos;dialout&apos; auf (sudo usermod -aG dialout $USER) und melden Sie sich neu an.</translation>
    </message>
    <message>
        <source>%1 is in use by another program.</source>
        <translation>%1 wird von einem anderen Programm benutzt.</translation>
    </message>
    <message>
        <source>%1 does not exist. Check the cable and the port chosen in the settings.</source>
        <translation>%1 existiert nicht. Prüfen Sie das Kabel und die in den Einstellungen gewählte Schnittstelle.</translation>
    </message>
    <message>
        <source>%1 is not a serial device.</source>
        <translation>%1 ist keine serielle Schnittstelle.</translation>
    </message>
    <message>
        <source>Lost the connection to %1 (input/output error). Check that the serial adapter is still plugged in.</source>
        <translation>%1: Verbindung verloren (Ein-/Ausgabefehler). Prüfen Sie, ob der serielle Adapter noch eingesteckt ist.</translation>
    </message>
    <message>
        <source>Cannot use %1: %2.</source>
        <translation>%1 kann nicht benutzt werden: %2.</translation>
    </message>
    <message>
        <source>Station %1 is used by module %2 of the bus; moving another module there would create a collision. Choose a free station.</source>
        <translation>Station %1 wird vom Modul %2 des Busses benutzt; ein weiteres Modul dort erzeugte eine Kollision. Wählen Sie eine freie Station.</translation>
    </message>
    <message>
        <source>record %1 could not be read: %2</source>
        <translation>Datensatz %1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot replace %1: %2</source>
        <translation>%1 kann nicht ersetzt werden: %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>terrix::FieldTitle</name>
    <message>
        <source>Date/Time</source>
        <translation>Datum/Uhrzeit</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Value 1</source>
        <translation>Wert 1</translation>
    </message>
    <message>
        <source>Value 2</source>
        <translation>Wert 2</translation>
    </message>
    <message>
        <source>Density</source>
        <translation>Dichte</translation>
    </message>
    <message>
        <source>Moisture [%]</source>
        <translation>Feuchte [%]</translation>
    </message>
    <message>
        <source>StdDev</source>
        <translation>StdAbw</translation>
    </message>
    <message>
        <source>Error [%]</source>
        <translation>Fehler [%]</translation>
    </message>
    <message>
        <source>TDR Level</source>
        <translation>TDR-Pegel</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatur</translation>
    </message>
</context>
<context>
    <name>terrix::MeasCircuitController</name>
    <message>
        <source>This command talks to the module over the bus, and the measuring loop is using the bus now.
Stop the measuring loop (&quot;%1&quot;), then try again.</source>
        <translation>Dieser Befehl spricht das Modul über den Bus an, und den Bus benutzt gerade die Meßschleife.
Halten Sie die Meßschleife an („%1“) und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>This command works on measurement files that the measuring loop is writing now.
Stop the measuring loop (&quot;%1&quot;), then try again.</source>
        <translation>Dieser Befehl arbeitet mit Meßdateien, die die Meßschleife gerade schreibt.
Halten Sie die Meßschleife an („%1“) und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>A measured value could not be stored:
%1</source>
        <translation>Ein Meßwert konnte nicht gespeichert werden:
%1</translation>
    </message>
    <message>
        <source>Publishing is off: %1</source>
        <translation>Veröffentlichen ist aus: %1</translation>
    </message>
    <message>
        <source>Publishing problem: %1</source>
        <translation>Problem beim Veröffentlichen: %1</translation>
    </message>
    <message>
        <source>Publishing to %1: connected; records waiting: %2</source>
        <translation>Veröffentlichen an %1: verbunden; wartende Datensätze: %2</translation>
    </message>
    <message>
        <source>Publishing to %1: connecting; records waiting: %2</source>
        <translation>Veröffentlichen an %1: Verbindung wird aufgebaut; wartende Datensätze: %2</translation>
    </message>
    <message>
        <source>Publishing to %1 waits (%2); records waiting: %3</source>
        <translation>Veröffentlichen an %1 wartet (%2); wartende Datensätze: %3</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) copied to %1.</source>
        <translation>
            <numerusform>%n Datei nach %1 kopiert.</numerusform>
            <numerusform>%n Dateien nach %1 kopiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Without measured values (skipped):</source>
        <translation>Ohne Meßwerte (übersprungen):</translation>
    </message>
    <message>
        <source>Could not be copied:</source>
        <translation>Konnte nicht kopiert werden:</translation>
    </message>
</context>
<context>
    <name>terrix::MeasCircuitModel</name>
    <message>
        <source>No connection: the port&apos;s device has gone</source>
        <translation>Keine Verbindung: das Gerät des Ports ist weg</translation>
    </message>
</context>
<context>
    <name>terrix::MessageBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
</context>
<context>
    <name>terrix::ModuleWindowTitle</name>
    <message>
        <source>%1 – %2 (station %3)</source>
        <extracomment>A window&apos;s title, the serial number of its module and the module&apos;s station address.</extracomment>
        <translation>%1 – %2 (Station %3)</translation>
    </message>
    <message>
        <source>%1 – station %2</source>
        <extracomment>A window&apos;s title that names its module already, and the module&apos;s station address.</extracomment>
        <translation>%1 – Station %2</translation>
    </message>
    <message>
        <source>%1, station %2</source>
        <extracomment>The line in a window&apos;s body that names its module (&quot;40218 (PX-TAVIK2XV)&quot;) when the title is cut off.</extracomment>
        <translation>%1, Station %2</translation>
    </message>
</context>
<context>
    <name>terrix::PublishTexts</name>
    <message>
        <source>Connected to %1 and logged in: publishing works with these settings.</source>
        <translation>Mit %1 verbunden und angemeldet: Mit diesen Einstellungen kann veröffentlicht werden.</translation>
    </message>
    <message>
        <source>The settings cannot be used: %1</source>
        <translation>Die Einstellungen sind nicht verwendbar: %1</translation>
    </message>
    <message>
        <source>Host not found: the name in %1 cannot be resolved (check its spelling and the network).</source>
        <translation>Host nicht gefunden: Der Name in %1 lässt sich nicht auflösen (Schreibweise und Netzwerk prüfen).</translation>
    </message>
    <message>
        <source>Connection refused: nothing accepts connections at %1 (is the broker running, and is the port right?).</source>
        <translation>Verbindung abgelehnt: Unter %1 nimmt niemand Verbindungen an (läuft der Broker, und stimmt der Port?).</translation>
    </message>
    <message>
        <source>Not authorised: the broker at %1 refused the user name or the password.</source>
        <translation>Nicht berechtigt: Der Broker unter %1 hat den Benutzernamen oder das Passwort abgelehnt.</translation>
    </message>
    <message>
        <source>TLS problem with %1: %2</source>
        <translation>TLS-Problem mit %1: %2</translation>
    </message>
    <message>
        <source>No answer from %1 in time (a firewall, or no MQTT broker at that port?).</source>
        <translation>Keine rechtzeitige Antwort von %1 (eine Firewall, oder kein MQTT-Broker an diesem Port?).</translation>
    </message>
    <message>
        <source>The broker at %1 closed the connection: %2</source>
        <translation>Der Broker unter %1 hat die Verbindung geschlossen: %2</translation>
    </message>
    <message>
        <source>The test was stopped.</source>
        <translation>Der Test wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The connection to %1 failed: %2</source>
        <translation>Die Verbindung zu %1 ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>unusable settings</source>
        <translation>Einstellungen unbrauchbar</translation>
    </message>
    <message>
        <source>host not found</source>
        <translation>Host nicht gefunden</translation>
    </message>
    <message>
        <source>connection refused</source>
        <translation>Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>not authorised</source>
        <translation>nicht berechtigt</translation>
    </message>
    <message>
        <source>TLS problem</source>
        <translation>TLS-Problem</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>keine Antwort</translation>
    </message>
    <message>
        <source>connection lost</source>
        <translation>Verbindung verloren</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>beendet</translation>
    </message>
</context>
<context>
    <name>terrix::TrafficModel</name>
    <message>
        <source>sent</source>
        <translation>gesendet</translation>
    </message>
    <message>
        <source>received</source>
        <translation>empfangen</translation>
    </message>
    <message>
        <source>send failed</source>
        <translation>Senden fehlgeschlagen</translation>
    </message>
    <message>
        <source>ok, status 0x%1</source>
        <translation>ok, Status 0x%1</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Status / error</source>
        <translation>Status / Fehler</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>time-out</source>
        <translation>Zeitüberschreitung</translation>
    </message>
</context>
</TS>
