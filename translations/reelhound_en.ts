<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>ConverterReport</name>
    <message>
        <source>The converter was stopped by signal %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopProgress</name>
    <message>
        <source>%1 % – %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DestinationCheck</name>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 cannot be used: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a place for files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file name is too long: the disk that holds %1 takes names of at most %2 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 cannot be written to: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No file was chosen to save the download in.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The path of %1 is too long for the file system.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not an ordinary file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A file named %1 already exists in %2. Replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DirectLink</name>
    <message>
        <source>The link service&apos;s answer holds no address of the video file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link service&apos;s answer holds the start of the video file&apos;s address but not its end.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadProgress</name>
    <message numerus="yes">
        <source>received %1 bytes</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>received %1 bytes / %2 percent complete</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>%1 MB at %2 MB/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s, about %4 s left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s, about %4 min left</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>Your disk quota is used up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk is read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Access was denied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file grew larger than the system allows.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Reelhound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address of the Vistaro video page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>www.vistaro.com/watch?v=…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Get</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the video page of the address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video page loading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Recent:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent addresses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put a recent address back into the address field</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;to:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File the video is saved to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the file the video is saved to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choo&amp;se...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download the video, or cancel a running download (Alt+D; Esc cancels)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How much of the video has arrived</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conversion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>So&amp;urce:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File to convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the file to convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ch&amp;oose...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a .flv file to convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio frequency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio sampling rate in Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame si&amp;ze:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame size in pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio &amp;bit rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio bit rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Video bit rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video bit rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio cha&amp;nnels:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of audio channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mono</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame rat&amp;e:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames per second</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>25 fps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>30 fps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>24 fps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>15 fps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>For&amp;mat:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format of the converted file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QuickTime (.mov)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MPEG-4 (.mp4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AVI (.avi)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RealMedia (.rm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Windows Media (.wmv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conversion running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert the source file into the chosen format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The converter&apos;s latest output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Download FLV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio fre&amp;quency:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert &amp;when the download finishes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert each finished download with the settings above</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Reelhound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert when the download finishes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkAccess</name>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 second</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server answered with status %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server answered %1 %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server %1 refused the connection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection was closed before %1 arrived.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server %1 could not be found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server %1 did not answer in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A secure connection to %1 could not be set up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The network is not available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server redirected too many times.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server redirected to an address that is not safe to follow.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy server refused the connection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy server closed the connection before %1 arrived.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy server could not be found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy server did not answer in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy server asks for a user name and password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The address %1 cannot be fetched.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transfer from %1 failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transfer from %1 failed: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Numbers</name>
    <message>
        <source>en</source>
        <extracomment>The locale whose number format this translation uses, such as &quot;de&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageFetch</name>
    <message>
        <source>The page is larger than %1, which is more than any page this application reads.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PartialDataClaim</name>
    <message>
        <source>Another Reelhound window is downloading to %1. Wait until it has finished, or choose another file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 files (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResponseEntity</name>
    <message>
        <source>The server sent only part of the file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server sent the file packed (%1) instead of as it is.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>reelhound::ApplicationController</name>
    <message>
        <source>You must be connected to the internet to use Reelhound.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download FLV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel the download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download the video file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not resolve the address for the Vistaro page entered!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert FLV file to MOV...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the address of a Vistaro video page and press Get before downloading.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sto&amp;p</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the conversion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Download FLV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cance&amp;l</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Reelhound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h3&gt;Reelhound %1&lt;/h3&gt;&lt;p&gt;Fetches videos from the Vistaro site and converts them into other formats.&lt;/p&gt;&lt;p&gt;Free software under the GNU General Public License, version 3 or any later version (GPL-3.0-or-later).&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>reelhound::ConversionFlow</name>
    <message>
        <source>Converting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The converted file cannot be made in %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converted: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conversion finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conversion stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conversion failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The converted file could not be saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converting: %1 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converting: %1 %, about %2 s left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converting: %1 %, about %2 min left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conversion failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>reelhound::ConverterProcess</name>
    <message>
        <source>The converter could not be started: %1: No such file or directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The converter did not stop when the application quit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The conversion was stopped because the application quit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The converter exited with status %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The converter could not be started: %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The conversion was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>reelhound::DesktopNotices</name>
    <message>
        <source>Show in folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>reelhound::Download</name>
    <message>
        <source>The server redirected the download too many times.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 already exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is %1, but the disk that holds %2 has only %3 free.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the whole file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server sent no file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection was closed before the whole file arrived.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No data arrived for %1, so the transfer was given up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server is busy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No data arrived</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be created: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be saved: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadDestination</name>
    <message>
        <source>Save Vistaro video to file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadFlow</name>
    <message>
        <source>Looking up the video file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link service could not be asked for the video file. %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video file could not be found. %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link service gave an address too long to use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The download could not start: the link service gave an address that is not a web address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download finished: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download failed: %1 Download again to resume.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadProgressDisplay</name>
    <message>
        <source>%1; retrying in %2 s (attempt %3 of %4)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n connections)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>reelhound::MainWindow</name>
    <message>
        <source>Show in folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Amount downloaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converter output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>reelhound::PageRequest</name>
    <message>
        <source>The server %1 did not send the whole page within %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a web address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server %1 sent nothing more for %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server %1 did not answer within %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the whole page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The page from %1 is not UTF-8 text.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The application quit before the page arrived.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>reelhound::ProxyCredentialsDialog</name>
    <message>
        <source>The proxy server %1 refused the user name and password. Enter them again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy server %1 asks for a user name and password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remember for this session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
