<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>ConverterReport</name>
    <message>
        <source>The converter was stopped by signal %1.</source>
        <translation>Der Konverter wurde durch das Signal %1 beendet.</translation>
    </message>
</context>
<context>
    <name>DesktopProgress</name>
    <message>
        <source>%1 % – %2</source>
        <translation>%1 % – %2</translation>
    </message>
</context>
<context>
    <name>DestinationCheck</name>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Der Ordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be used: %2</source>
        <translation>Der Ordner %1 kann nicht verwendet werden: %2</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>%1 is not a place for files.</source>
        <translation>%1 ist kein Ort für Dateien.</translation>
    </message>
    <message>
        <source>The file name is too long: the disk that holds %1 takes names of at most %2 bytes.</source>
        <translation>Der Dateiname ist zu lang: Der Datenträger mit %1 nimmt Namen von höchstens %2 Bytes an.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be written to: %2</source>
        <translation>In den Ordner %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>No file was chosen to save the download in.</source>
        <translation>Es wurde keine Datei zum Speichern des Downloads gewählt.</translation>
    </message>
    <message>
        <source>The path of %1 is too long for the file system.</source>
        <translation>Der Pfad von %1 ist für das Dateisystem zu lang.</translation>
    </message>
    <message>
        <source>%1 is a folder.</source>
        <translation>%1 ist ein Ordner.</translation>
    </message>
    <message>
        <source>%1 is not an ordinary file.</source>
        <translation>%1 ist keine gewöhnliche Datei.</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>A file named %1 already exists in %2. Replace it?</source>
        <translation>In %2 gibt es bereits eine Datei namens %1. Ersetzen?</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>DirectLink</name>
    <message>
        <source>The link service&apos;s answer holds no address of the video file.</source>
        <translation>Die Antwort des Link-Dienstes enthält keine Adresse der Videodatei.</translation>
    </message>
    <message>
        <source>The link service&apos;s answer holds the start of the video file&apos;s address but not its end.</source>
        <translation>Die Antwort des Link-Dienstes enthält den Anfang der Adresse der Videodatei, aber nicht ihr Ende.</translation>
    </message>
</context>
<context>
    <name>DownloadProgress</name>
    <message numerus="yes">
        <source>received %1 bytes</source>
        <translation>
            <numerusform>%1 Byte empfangen</numerusform>
            <numerusform>%1 Bytes empfangen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>received %1 bytes / %2 percent complete</source>
        <translation>
            <numerusform>%1 Byte empfangen / %2 Prozent fertig</numerusform>
            <numerusform>%1 Bytes empfangen / %2 Prozent fertig</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 MB at %2 MB/s</source>
        <translation>%1 MB mit %2 MB/s</translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s</source>
        <translation>%1 von %2 MB mit %3 MB/s</translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s, about %4 s left</source>
        <translation>%1 von %2 MB mit %3 MB/s, noch etwa %4 s</translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s, about %4 min left</source>
        <translation>%1 von %2 MB mit %3 MB/s, noch etwa %4 min</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>Your disk quota is used up.</source>
        <translation>Ihr Speicherkontingent ist aufgebraucht.</translation>
    </message>
    <message>
        <source>The disk is read-only.</source>
        <translation>Der Datenträger ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>Access was denied.</source>
        <translation>Der Zugriff wurde verweigert.</translation>
    </message>
    <message>
        <source>The file grew larger than the system allows.</source>
        <translation>Die Datei wurde größer, als das System erlaubt.</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Reelhound</source>
        <translation>Reelhound</translation>
    </message>
    <message>
        <source>Video page</source>
        <translation>Videoseite</translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation>&amp;Adresse:</translation>
    </message>
    <message>
        <source>Address of the Vistaro video page</source>
        <translation>Adresse der Vistaro-Videoseite</translation>
    </message>
    <message>
        <source>www.vistaro.com/watch?v=…</source>
        <translation>www.vistaro.com/watch?v=…</translation>
    </message>
    <message>
        <source>&amp;Get</source>
        <translation>&amp;Laden</translation>
    </message>
    <message>
        <source>Show the video page of the address</source>
        <translation>Die Videoseite der Adresse anzeigen</translation>
    </message>
    <message>
        <source>Video page loading</source>
        <translation>Videoseite wird geladen</translation>
    </message>
    <message>
        <source>&amp;Recent:</source>
        <translation>&amp;Zuletzt:</translation>
    </message>
    <message>
        <source>Recent addresses</source>
        <translation>Zuletzt verwendete Adressen</translation>
    </message>
    <message>
        <source>Put a recent address back into the address field</source>
        <translation>Eine zuletzt verwendete Adresse wieder in das Adressfeld setzen</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Save &amp;to:</source>
        <translation>&amp;Speichern unter:</translation>
    </message>
    <message>
        <source>File the video is saved to</source>
        <translation>Datei, in der das Video gespeichert wird</translation>
    </message>
    <message>
        <source>Choose the file the video is saved to</source>
        <translation>Die Datei auswählen, in der das Video gespeichert wird</translation>
    </message>
    <message>
        <source>Choo&amp;se...</source>
        <translation>Aus&amp;wählen...</translation>
    </message>
    <message>
        <source>Download the video, or cancel a running download (Alt+D; Esc cancels)</source>
        <translation>Das Video herunterladen oder einen laufenden Download abbrechen (Alt+D; Esc bricht ab)</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>Download-Fortschritt</translation>
    </message>
    <message>
        <source>How much of the video has arrived</source>
        <translation>Wie viel vom Video schon angekommen ist</translation>
    </message>
    <message>
        <source>Conversion</source>
        <translation>Umwandlung</translation>
    </message>
    <message>
        <source>So&amp;urce:</source>
        <translation>&amp;Quelle:</translation>
    </message>
    <message>
        <source>File to convert</source>
        <translation>Umzuwandelnde Datei</translation>
    </message>
    <message>
        <source>Choose the file to convert</source>
        <translation>Die umzuwandelnde Datei auswählen</translation>
    </message>
    <message>
        <source>Ch&amp;oose...</source>
        <translation>A&amp;uswählen...</translation>
    </message>
    <message>
        <source>Choose a .flv file to convert</source>
        <translation>Eine .flv-Datei zum Umwandeln wählen</translation>
    </message>
    <message>
        <source>Audio frequency</source>
        <translation>Audio-Frequenz</translation>
    </message>
    <message>
        <source>Audio sampling rate in Hz</source>
        <translation>Abtastrate des Tons in Hz</translation>
    </message>
    <message>
        <source>Frame si&amp;ze:</source>
        <translation>B&amp;ildgröße:</translation>
    </message>
    <message>
        <source>Frame size</source>
        <translation>Bildgröße</translation>
    </message>
    <message>
        <source>Frame size in pixels</source>
        <translation>Bildgröße in Pixeln</translation>
    </message>
    <message>
        <source>Audio &amp;bit rate:</source>
        <translation>Audio-Bit&amp;rate:</translation>
    </message>
    <message>
        <source>Audio bit rate</source>
        <translation>Audio-Bitrate</translation>
    </message>
    <message>
        <source>&amp;Video bit rate:</source>
        <translation>&amp;Video-Bitrate:</translation>
    </message>
    <message>
        <source>Video bit rate</source>
        <translation>Video-Bitrate</translation>
    </message>
    <message>
        <source>Audio cha&amp;nnels:</source>
        <translation>Audioka&amp;näle:</translation>
    </message>
    <message>
        <source>Audio channels</source>
        <translation>Audiokanäle</translation>
    </message>
    <message>
        <source>Number of audio channels</source>
        <translation>Anzahl der Audiokanäle</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Frame rat&amp;e:</source>
        <translation>&amp;Bildrate:</translation>
    </message>
    <message>
        <source>Frame rate</source>
        <translation>Bildrate</translation>
    </message>
    <message>
        <source>Frames per second</source>
        <translation>Bilder pro Sekunde</translation>
    </message>
    <message>
        <source>25 fps</source>
        <translation>25 fps</translation>
    </message>
    <message>
        <source>30 fps</source>
        <translation>30 fps</translation>
    </message>
    <message>
        <source>24 fps</source>
        <translation>24 fps</translation>
    </message>
    <message>
        <source>15 fps</source>
        <translation>15 fps</translation>
    </message>
    <message>
        <source>For&amp;mat:</source>
        <translation>For&amp;mat:</translation>
    </message>
    <message>
        <source>Format of the converted file</source>
        <translation>Format der umgewandelten Datei</translation>
    </message>
    <message>
        <source>QuickTime (.mov)</source>
        <translation>QuickTime (.mov)</translation>
    </message>
    <message>
        <source>MPEG-4 (.mp4)</source>
        <translation>MPEG-4 (.mp4)</translation>
    </message>
    <message>
        <source>AVI (.avi)</source>
        <translation>AVI (.avi)</translation>
    </message>
    <message>
        <source>RealMedia (.rm)</source>
        <translation>RealMedia (.rm)</translation>
    </message>
    <message>
        <source>Windows Media (.wmv)</source>
        <translation>Windows Media (.wmv)</translation>
    </message>
    <message>
        <source>Conversion running</source>
        <translation>Umwandlung läuft</translation>
    </message>
    <message>
        <source>Convert the file</source>
        <translation>Die Datei umwandeln</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>Umwand&amp;eln</translation>
    </message>
    <message>
        <source>Convert the source file into the chosen format</source>
        <translation>Die Quelldatei in das gewählte Format umwandeln</translation>
    </message>
    <message>
        <source>The converter&apos;s latest output</source>
        <translation>Die letzte Ausgabe des Umwandlers</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>Da&amp;tei</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>&amp;Download FLV</source>
        <translation>FLV herunterla&amp;den</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Audio fre&amp;quency:</source>
        <translation>Audio-&amp;Frequenz:</translation>
    </message>
    <message>
        <source>Convert &amp;when the download finishes</source>
        <translation>Nach dem Herunterladen s&amp;ofort umwandeln</translation>
    </message>
    <message>
        <source>Convert each finished download with the settings above</source>
        <translation>Jeden fertigen Download mit den obigen Einstellungen umwandeln</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Reelhound</source>
        <translation>Ü&amp;ber Reelhound</translation>
    </message>
    <message>
        <source>Convert when the download finishes</source>
        <translation>Nach dem Herunterladen sofort umwandeln</translation>
    </message>
</context>
<context>
    <name>NetworkAccess</name>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>Der Server hat die Anfrage an %1 weitergeleitet, das keine Webadresse ist.</translation>
    </message>
    <message>
        <source>%1 second</source>
        <translation>%1 Sekunde</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 Sekunden</translation>
    </message>
    <message>
        <source>The server answered with status %1.</source>
        <translation>Der Server antwortete mit dem Status %1.</translation>
    </message>
    <message>
        <source>The server answered %1 %2.</source>
        <translation>Der Server antwortete %1 %2.</translation>
    </message>
    <message>
        <source>The server %1 refused the connection.</source>
        <translation>Der Server %1 hat die Verbindung abgelehnt.</translation>
    </message>
    <message>
        <source>The connection was closed before %1 arrived.</source>
        <translation>Die Verbindung wurde geschlossen, bevor %1 ankam.</translation>
    </message>
    <message>
        <source>The server %1 could not be found.</source>
        <translation>Der Server %1 wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The server %1 did not answer in time.</source>
        <translation>Der Server %1 hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>A secure connection to %1 could not be set up.</source>
        <translation>Eine sichere Verbindung zu %1 konnte nicht aufgebaut werden.</translation>
    </message>
    <message>
        <source>The network is not available.</source>
        <translation>Das Netzwerk ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>The server redirected too many times.</source>
        <translation>Der Server hat zu oft umgeleitet.</translation>
    </message>
    <message>
        <source>The server redirected to an address that is not safe to follow.</source>
        <translation>Der Server hat auf eine Adresse umgeleitet, der nicht sicher gefolgt werden kann.</translation>
    </message>
    <message>
        <source>The proxy server refused the connection.</source>
        <translation>Der Proxyserver hat die Verbindung abgelehnt.</translation>
    </message>
    <message>
        <source>The proxy server closed the connection before %1 arrived.</source>
        <translation>Der Proxyserver hat die Verbindung geschlossen, bevor %1 ankam.</translation>
    </message>
    <message>
        <source>The proxy server could not be found.</source>
        <translation>Der Proxyserver wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The proxy server did not answer in time.</source>
        <translation>Der Proxyserver hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>The proxy server asks for a user name and password.</source>
        <translation>Der Proxyserver verlangt einen Benutzernamen und ein Passwort.</translation>
    </message>
    <message>
        <source>The address %1 cannot be fetched.</source>
        <translation>Die Adresse %1 kann nicht abgerufen werden.</translation>
    </message>
    <message>
        <source>The transfer from %1 failed.</source>
        <translation>Die Übertragung von %1 ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The transfer from %1 failed: %2.</source>
        <translation>Die Übertragung von %1 ist fehlgeschlagen: %2.</translation>
    </message>
</context>
<context>
    <name>Numbers</name>
    <message>
        <source>en</source>
        <extracomment>The locale whose number format this translation uses, such as &quot;de&quot;.</extracomment>
        <translation>de</translation>
    </message>
</context>
<context>
    <name>PageFetch</name>
    <message>
        <source>The page is larger than %1, which is more than any page this application reads.</source>
        <translation>Die Seite ist größer als %1 und damit größer als jede Seite, die diese Anwendung liest.</translation>
    </message>
</context>
<context>
    <name>PartialDataClaim</name>
    <message>
        <source>Another Reelhound window is downloading to %1. Wait until it has finished, or choose another file.</source>
        <translation>Ein anderes Reelhound-Fenster lädt gerade nach %1 herunter. Warten Sie, bis es fertig ist, oder wählen Sie eine andere Datei.</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 files (%2)</source>
        <translation>%1-Dateien (%2)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>ResponseEntity</name>
    <message>
        <source>The server sent only part of the file.</source>
        <translation>Der Server hat nur einen Teil der Datei gesendet.</translation>
    </message>
    <message>
        <source>The server sent the file packed (%1) instead of as it is.</source>
        <translation>Der Server hat die Datei gepackt (%1) statt unverändert gesendet.</translation>
    </message>
</context>
<context>
    <name>reelhound::ApplicationController</name>
    <message>
        <source>You must be connected to the internet to use Reelhound.</source>
        <translation>Sie müssen mit dem Internet verbunden sein, um Reelhound zu benutzen.</translation>
    </message>
    <message>
        <source>Download FLV</source>
        <translation>FLV herunterladen</translation>
    </message>
    <message>
        <source>Cancel the download</source>
        <translation>Den Download abbrechen</translation>
    </message>
    <message>
        <source>Download the video file</source>
        <translation>Die Videodatei herunterladen</translation>
    </message>
    <message>
        <source>Could not resolve the address for the Vistaro page entered!</source>
        <translation>Die Adresse der eingegebenen Vistaro-Seite konnte nicht aufgelöst werden!</translation>
    </message>
    <message>
        <source>Convert FLV file to MOV...</source>
        <translation>FLV-Datei in MOV umwandeln...</translation>
    </message>
    <message>
        <source>Enter the address of a Vistaro video page and press Get before downloading.</source>
        <translation>Geben Sie vor dem Herunterladen die Adresse einer Vistaro-Videoseite ein und drücken Sie „Laden“.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Sto&amp;p</source>
        <translation>Sto&amp;pp</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>Umwand&amp;eln</translation>
    </message>
    <message>
        <source>Stop the conversion</source>
        <translation>Die Umwandlung stoppen</translation>
    </message>
    <message>
        <source>Convert the file</source>
        <translation>Die Datei umwandeln</translation>
    </message>
    <message>
        <source>&amp;Download FLV</source>
        <translation>FLV herunterla&amp;den</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Umwandeln</translation>
    </message>
    <message>
        <source>Cance&amp;l</source>
        <translation>Abbre&amp;chen</translation>
    </message>
    <message>
        <source>About Reelhound</source>
        <translation>Über Reelhound</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Reelhound %1&lt;/h3&gt;&lt;p&gt;Fetches videos from the Vistaro site and converts them into other formats.&lt;/p&gt;&lt;p&gt;Free software under the GNU General Public License, version 3 or any later version (GPL-3.0-or-later).&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Reelhound %1&lt;/h3&gt;&lt;p&gt;Lädt Videos von der Vistaro-Website herunter und wandelt sie in andere Formate um.&lt;/p&gt;&lt;p&gt;Freie Software unter der GNU General Public License, Version 3 oder jede spätere Version (GPL-3.0-or-later).&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>reelhound::ConversionFlow</name>
    <message>
        <source>Converting...</source>
        <translation>Wird umgewandelt...</translation>
    </message>
    <message>
        <source>The converted file cannot be made in %1: %2</source>
        <translation>Die umgewandelte Datei kann nicht in %1 angelegt werden: %2</translation>
    </message>
    <message>
        <source>Converted: %1</source>
        <translation>Umgewandelt: %1</translation>
    </message>
    <message>
        <source>Conversion finished</source>
        <translation>Umwandlung abgeschlossen</translation>
    </message>
    <message>
        <source>Conversion stopped.</source>
        <translation>Umwandlung gestoppt.</translation>
    </message>
    <message>
        <source>Conversion failed</source>
        <translation>Umwandlung fehlgeschlagen</translation>
    </message>
    <message>
        <source>The converted file could not be saved: %1</source>
        <translation>Die umgewandelte Datei konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Converting: %1 %</source>
        <translation>Umwandlung: %1 %</translation>
    </message>
    <message>
        <source>Converting: %1 %, about %2 s left</source>
        <translation>Umwandlung: %1 %, noch etwa %2 s</translation>
    </message>
    <message>
        <source>Converting: %1 %, about %2 min left</source>
        <translation>Umwandlung: %1 %, noch etwa %2 min</translation>
    </message>
    <message>
        <source>Conversion failed: %1</source>
        <translation>Umwandlung fehlgeschlagen: %1</translation>
    </message>
</context>
<context>
    <name>reelhound::ConverterProcess</name>
    <message>
        <source>The converter could not be started: %1: No such file or directory</source>
        <translation>Der Konverter konnte nicht gestartet werden: %1: Datei oder Verzeichnis nicht gefunden</translation>
    </message>
    <message>
        <source>The converter did not stop when the application quit.</source>
        <translation>Der Konverter hat beim Beenden der Anwendung nicht angehalten.</translation>
    </message>
    <message>
        <source>The conversion was stopped because the application quit.</source>
        <translation>Die Umwandlung wurde gestoppt, weil die Anwendung beendet wurde.</translation>
    </message>
    <message>
        <source>The converter exited with status %1.</source>
        <translation>Der Konverter wurde mit dem Status %1 beendet.</translation>
    </message>
    <message>
        <source>The converter could not be started: %1: %2</source>
        <translation>Der Konverter konnte nicht gestartet werden: %1: %2</translation>
    </message>
    <message>
        <source>The conversion was stopped.</source>
        <translation>Die Umwandlung wurde gestoppt.</translation>
    </message>
</context>
<context>
    <name>reelhound::DesktopNotices</name>
    <message>
        <source>Show in folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
</context>
<context>
    <name>reelhound::Download</name>
    <message>
        <source>The server redirected the download too many times.</source>
        <translation>Der Server hat den Download zu oft umgeleitet.</translation>
    </message>
    <message>
        <source>The file %1 already exists.</source>
        <translation>Die Datei %1 existiert bereits.</translation>
    </message>
    <message>
        <source>The file is %1, but the disk that holds %2 has only %3 free.</source>
        <translation>Die Datei ist %1 groß, aber auf dem Datenträger, auf dem %2 liegt, sind nur %3 frei.</translation>
    </message>
    <message>
        <source>the whole file</source>
        <translation>die ganze Datei</translation>
    </message>
    <message>
        <source>The server sent no file.</source>
        <translation>Der Server hat keine Datei gesendet.</translation>
    </message>
    <message>
        <source>The connection was closed before the whole file arrived.</source>
        <translation>Die Verbindung wurde geschlossen, bevor die ganze Datei ankam.</translation>
    </message>
    <message>
        <source>No data arrived for %1, so the transfer was given up.</source>
        <translation>%1 lang kamen keine Daten an, deshalb wurde die Übertragung aufgegeben.</translation>
    </message>
    <message>
        <source>The server is busy</source>
        <translation>Der Server ist ausgelastet</translation>
    </message>
    <message>
        <source>Connection lost</source>
        <translation>Verbindung unterbrochen</translation>
    </message>
    <message>
        <source>No data arrived</source>
        <translation>Es kamen keine Daten an</translation>
    </message>
    <message>
        <source>The file %1 could not be written: %2</source>
        <translation>Die Datei %1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The file %1 could not be created: %2</source>
        <translation>Die Datei %1 konnte nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>The file %1 could not be saved: %2</source>
        <translation>Die Datei %1 konnte nicht gespeichert werden: %2</translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadDestination</name>
    <message>
        <source>Save Vistaro video to file...</source>
        <translation>Vistaro-Video in Datei speichern...</translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation>Download fehlgeschlagen: %1</translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadFlow</name>
    <message>
        <source>Looking up the video file...</source>
        <translation>Videodatei wird gesucht...</translation>
    </message>
    <message>
        <source>The link service could not be asked for the video file. %1</source>
        <translation>Der Link-Dienst konnte nicht nach der Videodatei gefragt werden. %1</translation>
    </message>
    <message>
        <source>The video file could not be found. %1</source>
        <translation>Die Videodatei wurde nicht gefunden. %1</translation>
    </message>
    <message>
        <source>The link service gave an address too long to use.</source>
        <translation>Der Link-Dienst hat eine Adresse geliefert, die zu lang ist.</translation>
    </message>
    <message>
        <source>The download could not start: the link service gave an address that is not a web address.</source>
        <translation>Der Download konnte nicht beginnen: Der Link-Dienst hat eine Adresse geliefert, die keine Webadresse ist.</translation>
    </message>
    <message>
        <source>Downloading...</source>
        <translation>Wird heruntergeladen...</translation>
    </message>
    <message>
        <source>Download cancelled.</source>
        <translation>Download abgebrochen.</translation>
    </message>
    <message>
        <source>Download finished: %1</source>
        <translation>Download abgeschlossen: %1</translation>
    </message>
    <message>
        <source>Download finished</source>
        <translation>Download abgeschlossen</translation>
    </message>
    <message>
        <source>Download failed: %1 Download again to resume.</source>
        <translation>Download fehlgeschlagen: %1 Erneut herunterladen, um fortzusetzen.</translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation>Download fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation>Download fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadProgressDisplay</name>
    <message>
        <source>%1; retrying in %2 s (attempt %3 of %4)...</source>
        <translation>%1; neuer Versuch in %2 s (Versuch %3 von %4)...</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n connections)</source>
        <translation>
            <numerusform>%1 (%n Verbindung)</numerusform>
            <numerusform>%1 (%n Verbindungen)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>reelhound::MainWindow</name>
    <message>
        <source>Show in folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
    <message>
        <source>Clear the address</source>
        <translation>Die Adresse löschen</translation>
    </message>
    <message>
        <source>Amount downloaded</source>
        <translation>Heruntergeladene Menge</translation>
    </message>
    <message>
        <source>Converter output</source>
        <translation>Ausgabe des Umwandlers</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>reelhound::PageRequest</name>
    <message>
        <source>The server %1 did not send the whole page within %2.</source>
        <translation>Der Server %1 hat die ganze Seite nicht innerhalb von %2 gesendet.</translation>
    </message>
    <message>
        <source>%1 is not a web address.</source>
        <translation>%1 ist keine Webadresse.</translation>
    </message>
    <message>
        <source>The server %1 sent nothing more for %2.</source>
        <translation>Der Server %1 hat %2 lang nichts mehr gesendet.</translation>
    </message>
    <message>
        <source>The server %1 did not answer within %2.</source>
        <translation>Der Server %1 hat nicht innerhalb von %2 geantwortet.</translation>
    </message>
    <message>
        <source>the whole page</source>
        <translation>die ganze Seite</translation>
    </message>
    <message>
        <source>The page from %1 is not UTF-8 text.</source>
        <translation>Die Seite von %1 ist kein UTF-8-Text.</translation>
    </message>
    <message>
        <source>The application quit before the page arrived.</source>
        <translation>Die Anwendung wurde beendet, bevor die Seite ankam.</translation>
    </message>
</context>
<context>
    <name>reelhound::ProxyCredentialsDialog</name>
    <message>
        <source>The proxy server %1 refused the user name and password. Enter them again.</source>
        <translation>Der Proxy-Server %1 hat Benutzername und Passwort abgelehnt. Bitte erneut eingeben.</translation>
    </message>
    <message>
        <source>The proxy server %1 asks for a user name and password.</source>
        <translation>Der Proxy-Server %1 verlangt einen Benutzernamen und ein Passwort.</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>&amp;Remember for this session</source>
        <translation>Für diese Sitzung &amp;merken</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
</context>
</TS>
