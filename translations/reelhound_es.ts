<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>ConverterReport</name>
    <message>
        <source>The converter was stopped by signal %1.</source>
        <translation>El convertidor fue detenido por la señal %1.</translation>
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
        <translation>La carpeta %1 no existe.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be used: %2</source>
        <translation>No se puede usar la carpeta %1: %2</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 no es una carpeta.</translation>
    </message>
    <message>
        <source>%1 is not a place for files.</source>
        <translation>%1 no es un lugar para archivos.</translation>
    </message>
    <message>
        <source>The file name is too long: the disk that holds %1 takes names of at most %2 bytes.</source>
        <translation>El nombre del archivo es demasiado largo: el disco que contiene %1 admite nombres de %2 bytes como máximo.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be written to: %2</source>
        <translation>No se puede escribir en la carpeta %1: %2</translation>
    </message>
    <message>
        <source>No file was chosen to save the download in.</source>
        <translation>No se eligió ningún archivo en el que guardar la descarga.</translation>
    </message>
    <message>
        <source>The path of %1 is too long for the file system.</source>
        <translation>La ruta de %1 es demasiado larga para el sistema de archivos.</translation>
    </message>
    <message>
        <source>%1 is a folder.</source>
        <translation>%1 es una carpeta.</translation>
    </message>
    <message>
        <source>%1 is not an ordinary file.</source>
        <translation>%1 no es un archivo normal.</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>A file named %1 already exists in %2. Replace it?</source>
        <translation>Ya existe un archivo llamado %1 en %2. ¿Reemplazarlo?</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Reemplazar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
</context>
<context>
    <name>DirectLink</name>
    <message>
        <source>The link service&apos;s answer holds no address of the video file.</source>
        <translation>La respuesta del servicio de enlaces no contiene ninguna dirección del archivo de vídeo.</translation>
    </message>
    <message>
        <source>The link service&apos;s answer holds the start of the video file&apos;s address but not its end.</source>
        <translation>La respuesta del servicio de enlaces contiene el comienzo de la dirección del archivo de vídeo, pero no su final.</translation>
    </message>
</context>
<context>
    <name>DownloadProgress</name>
    <message numerus="yes">
        <source>received %1 bytes</source>
        <translation>
            <numerusform>%1 byte recibido</numerusform>
            <numerusform>%1 bytes recibidos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>received %1 bytes / %2 percent complete</source>
        <translation>
            <numerusform>%1 byte recibido / %2 por ciento completado</numerusform>
            <numerusform>%1 bytes recibidos / %2 por ciento completado</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 MB at %2 MB/s</source>
        <translation>%1 MB a %2 MB/s</translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s</source>
        <translation>%1 de %2 MB a %3 MB/s</translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s, about %4 s left</source>
        <translation>%1 de %2 MB a %3 MB/s, quedan unos %4 s</translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s, about %4 min left</source>
        <translation>%1 de %2 MB a %3 MB/s, quedan unos %4 min</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>Your disk quota is used up.</source>
        <translation>Su cuota de disco está agotada.</translation>
    </message>
    <message>
        <source>The disk is read-only.</source>
        <translation>El disco es de solo lectura.</translation>
    </message>
    <message>
        <source>Access was denied.</source>
        <translation>Se denegó el acceso.</translation>
    </message>
    <message>
        <source>The file grew larger than the system allows.</source>
        <translation>El archivo creció más de lo que permite el sistema.</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>El disco está lleno.</translation>
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
        <translation>Página del vídeo</translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation>D&amp;irección:</translation>
    </message>
    <message>
        <source>Address of the Vistaro video page</source>
        <translation>Dirección de la página del vídeo de Vistaro</translation>
    </message>
    <message>
        <source>www.vistaro.com/watch?v=…</source>
        <translation>www.vistaro.com/watch?v=…</translation>
    </message>
    <message>
        <source>&amp;Get</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>Show the video page of the address</source>
        <translation>Mostrar la página del vídeo de la dirección</translation>
    </message>
    <message>
        <source>Video page loading</source>
        <translation>Cargando la página del vídeo</translation>
    </message>
    <message>
        <source>&amp;Recent:</source>
        <translation>&amp;Recientes:</translation>
    </message>
    <message>
        <source>Recent addresses</source>
        <translation>Direcciones recientes</translation>
    </message>
    <message>
        <source>Put a recent address back into the address field</source>
        <translation>Volver a poner una dirección reciente en el campo de dirección</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Descarga</translation>
    </message>
    <message>
        <source>Save &amp;to:</source>
        <translation>&amp;Guardar en:</translation>
    </message>
    <message>
        <source>File the video is saved to</source>
        <translation>Archivo en el que se guarda el vídeo</translation>
    </message>
    <message>
        <source>Choose the file the video is saved to</source>
        <translation>Elegir el archivo en el que se guarda el vídeo</translation>
    </message>
    <message>
        <source>Choo&amp;se...</source>
        <translation>&amp;Elegir...</translation>
    </message>
    <message>
        <source>Download the video, or cancel a running download (Alt+D; Esc cancels)</source>
        <translation>Descargar el vídeo o cancelar una descarga en curso (Alt+D; Esc cancela)</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>Progreso de la descarga</translation>
    </message>
    <message>
        <source>How much of the video has arrived</source>
        <translation>Cuánto del vídeo ha llegado</translation>
    </message>
    <message>
        <source>Conversion</source>
        <translation>Conversión</translation>
    </message>
    <message>
        <source>So&amp;urce:</source>
        <translation>&amp;Origen:</translation>
    </message>
    <message>
        <source>File to convert</source>
        <translation>Archivo que convertir</translation>
    </message>
    <message>
        <source>Choose the file to convert</source>
        <translation>Elegir el archivo que convertir</translation>
    </message>
    <message>
        <source>Ch&amp;oose...</source>
        <translation>E&amp;legir...</translation>
    </message>
    <message>
        <source>Choose a .flv file to convert</source>
        <translation>Elegir un archivo .flv que convertir</translation>
    </message>
    <message>
        <source>Audio frequency</source>
        <translation>Frecuencia de audio</translation>
    </message>
    <message>
        <source>Audio sampling rate in Hz</source>
        <translation>Frecuencia de muestreo del audio en Hz</translation>
    </message>
    <message>
        <source>Frame si&amp;ze:</source>
        <translation>&amp;Tamaño del fotograma:</translation>
    </message>
    <message>
        <source>Frame size</source>
        <translation>Tamaño del fotograma</translation>
    </message>
    <message>
        <source>Frame size in pixels</source>
        <translation>Tamaño del fotograma en píxeles</translation>
    </message>
    <message>
        <source>Audio &amp;bit rate:</source>
        <translation>Tasa de bits de a&amp;udio:</translation>
    </message>
    <message>
        <source>Audio bit rate</source>
        <translation>Tasa de bits de audio</translation>
    </message>
    <message>
        <source>&amp;Video bit rate:</source>
        <translation>Tasa de &amp;bits de vídeo:</translation>
    </message>
    <message>
        <source>Video bit rate</source>
        <translation>Tasa de bits de vídeo</translation>
    </message>
    <message>
        <source>Audio cha&amp;nnels:</source>
        <translation>Ca&amp;nales de audio:</translation>
    </message>
    <message>
        <source>Audio channels</source>
        <translation>Canales de audio</translation>
    </message>
    <message>
        <source>Number of audio channels</source>
        <translation>Número de canales de audio</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Estéreo</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Frame rat&amp;e:</source>
        <translation>Fotogramas por &amp;segundo:</translation>
    </message>
    <message>
        <source>Frame rate</source>
        <translation>Fotogramas por segundo</translation>
    </message>
    <message>
        <source>Frames per second</source>
        <translation>Fotogramas por segundo</translation>
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
        <translation>For&amp;mato:</translation>
    </message>
    <message>
        <source>Format of the converted file</source>
        <translation>Formato del archivo convertido</translation>
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
        <translation>Conversión en curso</translation>
    </message>
    <message>
        <source>Convert the file</source>
        <translation>Convertir el archivo</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>&amp;Convertir</translation>
    </message>
    <message>
        <source>Convert the source file into the chosen format</source>
        <translation>Convertir el archivo de origen al formato elegido</translation>
    </message>
    <message>
        <source>The converter&apos;s latest output</source>
        <translation>La última salida del convertidor</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>Arc&amp;hivo</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Ver</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Guardar en</translation>
    </message>
    <message>
        <source>&amp;Download FLV</source>
        <translation>&amp;Descargar FLV</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Origen</translation>
    </message>
    <message>
        <source>Audio fre&amp;quency:</source>
        <translation>&amp;Frecuencia de audio:</translation>
    </message>
    <message>
        <source>Convert &amp;when the download finishes</source>
        <translation>Convertir al finali&amp;zar la descarga</translation>
    </message>
    <message>
        <source>Convert each finished download with the settings above</source>
        <translation>Convertir cada descarga terminada con los ajustes de arriba</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>&amp;About Reelhound</source>
        <translation>&amp;Acerca de Reelhound</translation>
    </message>
    <message>
        <source>Convert when the download finishes</source>
        <translation>Convertir al finalizar la descarga</translation>
    </message>
</context>
<context>
    <name>NetworkAccess</name>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>El servidor reenvió la petición a %1, que no es una dirección web.</translation>
    </message>
    <message>
        <source>%1 second</source>
        <translation>%1 segundo</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 segundos</translation>
    </message>
    <message>
        <source>The server answered with status %1.</source>
        <translation>El servidor respondió con el estado %1.</translation>
    </message>
    <message>
        <source>The server answered %1 %2.</source>
        <translation>El servidor respondió %1 %2.</translation>
    </message>
    <message>
        <source>The server %1 refused the connection.</source>
        <translation>El servidor %1 rechazó la conexión.</translation>
    </message>
    <message>
        <source>The connection was closed before %1 arrived.</source>
        <translation>La conexión se cerró antes de que llegara %1.</translation>
    </message>
    <message>
        <source>The server %1 could not be found.</source>
        <translation>No se encontró el servidor %1.</translation>
    </message>
    <message>
        <source>The server %1 did not answer in time.</source>
        <translation>El servidor %1 no respondió a tiempo.</translation>
    </message>
    <message>
        <source>A secure connection to %1 could not be set up.</source>
        <translation>No se pudo establecer una conexión segura con %1.</translation>
    </message>
    <message>
        <source>The network is not available.</source>
        <translation>La red no está disponible.</translation>
    </message>
    <message>
        <source>The server redirected too many times.</source>
        <translation>El servidor redirigió demasiadas veces.</translation>
    </message>
    <message>
        <source>The server redirected to an address that is not safe to follow.</source>
        <translation>El servidor redirigió a una dirección que no es seguro seguir.</translation>
    </message>
    <message>
        <source>The proxy server refused the connection.</source>
        <translation>El servidor proxy rechazó la conexión.</translation>
    </message>
    <message>
        <source>The proxy server closed the connection before %1 arrived.</source>
        <translation>El servidor proxy cerró la conexión antes de que llegara %1.</translation>
    </message>
    <message>
        <source>The proxy server could not be found.</source>
        <translation>No se encontró el servidor proxy.</translation>
    </message>
    <message>
        <source>The proxy server did not answer in time.</source>
        <translation>El servidor proxy no respondió a tiempo.</translation>
    </message>
    <message>
        <source>The proxy server asks for a user name and password.</source>
        <translation>El servidor proxy pide un nombre de usuario y una contraseña.</translation>
    </message>
    <message>
        <source>The address %1 cannot be fetched.</source>
        <translation>No se puede obtener la dirección %1.</translation>
    </message>
    <message>
        <source>The transfer from %1 failed.</source>
        <translation>La transferencia desde %1 ha fallado.</translation>
    </message>
    <message>
        <source>The transfer from %1 failed: %2.</source>
        <translation>La transferencia desde %1 ha fallado: %2.</translation>
    </message>
</context>
<context>
    <name>Numbers</name>
    <message>
        <source>en</source>
        <extracomment>The locale whose number format this translation uses, such as &quot;de&quot;.</extracomment>
        <translation>es</translation>
    </message>
</context>
<context>
    <name>PageFetch</name>
    <message>
        <source>The page is larger than %1, which is more than any page this application reads.</source>
        <translation>La página ocupa más de %1, más de lo que esta aplicación lee de cualquier página.</translation>
    </message>
</context>
<context>
    <name>PartialDataClaim</name>
    <message>
        <source>Another Reelhound window is downloading to %1. Wait until it has finished, or choose another file.</source>
        <translation>Otra ventana de Reelhound está descargando en %1. Espere a que termine o elija otro archivo.</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 files (%2)</source>
        <translation>Archivos %1 (%2)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
</context>
<context>
    <name>ResponseEntity</name>
    <message>
        <source>The server sent only part of the file.</source>
        <translation>El servidor envió solo una parte del archivo.</translation>
    </message>
    <message>
        <source>The server sent the file packed (%1) instead of as it is.</source>
        <translation>El servidor envió el archivo comprimido (%1) en lugar de tal cual.</translation>
    </message>
</context>
<context>
    <name>reelhound::ApplicationController</name>
    <message>
        <source>You must be connected to the internet to use Reelhound.</source>
        <translation>Debe estar conectado a internet para usar Reelhound.</translation>
    </message>
    <message>
        <source>Download FLV</source>
        <translation>Descargar FLV</translation>
    </message>
    <message>
        <source>Cancel the download</source>
        <translation>Cancelar la descarga</translation>
    </message>
    <message>
        <source>Download the video file</source>
        <translation>Descargar el archivo de vídeo</translation>
    </message>
    <message>
        <source>Could not resolve the address for the Vistaro page entered!</source>
        <translation>¡No se pudo resolver la dirección de la página de Vistaro introducida!</translation>
    </message>
    <message>
        <source>Convert FLV file to MOV...</source>
        <translation>Convertir el archivo FLV a MOV...</translation>
    </message>
    <message>
        <source>Enter the address of a Vistaro video page and press Get before downloading.</source>
        <translation>Antes de descargar, introduzca la dirección de una página de vídeo de Vistaro y pulse «Ver».</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Sto&amp;p</source>
        <translation>&amp;Parar</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>&amp;Convertir</translation>
    </message>
    <message>
        <source>Stop the conversion</source>
        <translation>Parar la conversión</translation>
    </message>
    <message>
        <source>Convert the file</source>
        <translation>Convertir el archivo</translation>
    </message>
    <message>
        <source>&amp;Download FLV</source>
        <translation>&amp;Descargar FLV</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convertir</translation>
    </message>
    <message>
        <source>Cance&amp;l</source>
        <translation>C&amp;ancelar</translation>
    </message>
    <message>
        <source>About Reelhound</source>
        <translation>Acerca de Reelhound</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Reelhound %1&lt;/h3&gt;&lt;p&gt;Fetches videos from the Vistaro site and converts them into other formats.&lt;/p&gt;&lt;p&gt;Free software under the GNU General Public License, version 3 or any later version (GPL-3.0-or-later).&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Reelhound %1&lt;/h3&gt;&lt;p&gt;Descarga vídeos del sitio Vistaro y los convierte a otros formatos.&lt;/p&gt;&lt;p&gt;Software libre bajo la Licencia Pública General de GNU, versión 3 o cualquier versión posterior (GPL-3.0-or-later).&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>reelhound::ConversionFlow</name>
    <message>
        <source>Converting...</source>
        <translation>Convirtiendo...</translation>
    </message>
    <message>
        <source>The converted file cannot be made in %1: %2</source>
        <translation>El archivo convertido no se puede crear en %1: %2</translation>
    </message>
    <message>
        <source>Converted: %1</source>
        <translation>Convertido: %1</translation>
    </message>
    <message>
        <source>Conversion finished</source>
        <translation>Conversión terminada</translation>
    </message>
    <message>
        <source>Conversion stopped.</source>
        <translation>Conversión detenida.</translation>
    </message>
    <message>
        <source>Conversion failed</source>
        <translation>La conversión falló</translation>
    </message>
    <message>
        <source>The converted file could not be saved: %1</source>
        <translation>No se pudo guardar el archivo convertido: %1</translation>
    </message>
    <message>
        <source>Converting: %1 %</source>
        <translation>Convirtiendo: %1 %</translation>
    </message>
    <message>
        <source>Converting: %1 %, about %2 s left</source>
        <translation>Convirtiendo: %1 %, quedan unos %2 s</translation>
    </message>
    <message>
        <source>Converting: %1 %, about %2 min left</source>
        <translation>Convirtiendo: %1 %, quedan unos %2 min</translation>
    </message>
    <message>
        <source>Conversion failed: %1</source>
        <translation>La conversión ha fallado: %1</translation>
    </message>
</context>
<context>
    <name>reelhound::ConverterProcess</name>
    <message>
        <source>The converter could not be started: %1: No such file or directory</source>
        <translation>No se pudo iniciar el convertidor: %1: no existe el archivo o el directorio</translation>
    </message>
    <message>
        <source>The converter did not stop when the application quit.</source>
        <translation>El convertidor no se detuvo al cerrarse la aplicación.</translation>
    </message>
    <message>
        <source>The conversion was stopped because the application quit.</source>
        <translation>La conversión se detuvo porque la aplicación se cerró.</translation>
    </message>
    <message>
        <source>The converter exited with status %1.</source>
        <translation>El convertidor terminó con el estado %1.</translation>
    </message>
    <message>
        <source>The converter could not be started: %1: %2</source>
        <translation>No se pudo iniciar el convertidor: %1: %2</translation>
    </message>
    <message>
        <source>The conversion was stopped.</source>
        <translation>La conversión se detuvo.</translation>
    </message>
</context>
<context>
    <name>reelhound::DesktopNotices</name>
    <message>
        <source>Show in folder</source>
        <translation>Mostrar en la carpeta</translation>
    </message>
</context>
<context>
    <name>reelhound::Download</name>
    <message>
        <source>The server redirected the download too many times.</source>
        <translation>El servidor redirigió la descarga demasiadas veces.</translation>
    </message>
    <message>
        <source>The file %1 already exists.</source>
        <translation>El archivo %1 ya existe.</translation>
    </message>
    <message>
        <source>The file is %1, but the disk that holds %2 has only %3 free.</source>
        <translation>El archivo ocupa %1, pero el disco que contiene %2 solo tiene %3 libres.</translation>
    </message>
    <message>
        <source>the whole file</source>
        <translation>el archivo completo</translation>
    </message>
    <message>
        <source>The server sent no file.</source>
        <translation>El servidor no envió ningún archivo.</translation>
    </message>
    <message>
        <source>The connection was closed before the whole file arrived.</source>
        <translation>La conexión se cerró antes de que llegara el archivo completo.</translation>
    </message>
    <message>
        <source>No data arrived for %1, so the transfer was given up.</source>
        <translation>No llegaron datos durante %1, así que se abandonó la transferencia.</translation>
    </message>
    <message>
        <source>The server is busy</source>
        <translation>El servidor está ocupado</translation>
    </message>
    <message>
        <source>Connection lost</source>
        <translation>Conexión perdida</translation>
    </message>
    <message>
        <source>No data arrived</source>
        <translation>No llegaron datos</translation>
    </message>
    <message>
        <source>The file %1 could not be written: %2</source>
        <translation>No se pudo escribir el archivo %1: %2</translation>
    </message>
    <message>
        <source>The file %1 could not be created: %2</source>
        <translation>No se pudo crear el archivo %1: %2</translation>
    </message>
    <message>
        <source>The file %1 could not be saved: %2</source>
        <translation>No se pudo guardar el archivo %1: %2</translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadDestination</name>
    <message>
        <source>Save Vistaro video to file...</source>
        <translation>Guardar el vídeo de Vistaro en un archivo...</translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation>La descarga ha fallado: %1</translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadFlow</name>
    <message>
        <source>Looking up the video file...</source>
        <translation>Buscando el archivo de vídeo...</translation>
    </message>
    <message>
        <source>The link service could not be asked for the video file. %1</source>
        <translation>No se pudo preguntar al servicio de enlaces por el archivo de vídeo. %1</translation>
    </message>
    <message>
        <source>The video file could not be found. %1</source>
        <translation>No se encontró el archivo de vídeo. %1</translation>
    </message>
    <message>
        <source>The link service gave an address too long to use.</source>
        <translation>El servicio de enlaces dio una dirección demasiado larga para usarla.</translation>
    </message>
    <message>
        <source>The download could not start: the link service gave an address that is not a web address.</source>
        <translation>La descarga no pudo empezar: el servicio de enlaces dio una dirección que no es una dirección web.</translation>
    </message>
    <message>
        <source>Downloading...</source>
        <translation>Descargando...</translation>
    </message>
    <message>
        <source>Download cancelled.</source>
        <translation>Descarga cancelada.</translation>
    </message>
    <message>
        <source>Download finished: %1</source>
        <translation>Descarga terminada: %1</translation>
    </message>
    <message>
        <source>Download finished</source>
        <translation>Descarga terminada</translation>
    </message>
    <message>
        <source>Download failed: %1 Download again to resume.</source>
        <translation>La descarga ha fallado: %1 Vuelva a descargar para reanudar.</translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation>La descarga ha fallado: %1</translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation>La descarga falló</translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadProgressDisplay</name>
    <message>
        <source>%1; retrying in %2 s (attempt %3 of %4)...</source>
        <translation>%1; nuevo intento en %2 s (intento %3 de %4)...</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n connections)</source>
        <translation>
            <numerusform>%1 (%n conexión)</numerusform>
            <numerusform>%1 (%n conexiones)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>reelhound::MainWindow</name>
    <message>
        <source>Show in folder</source>
        <translation>Mostrar en la carpeta</translation>
    </message>
    <message>
        <source>Clear the address</source>
        <translation>Borrar la dirección</translation>
    </message>
    <message>
        <source>Amount downloaded</source>
        <translation>Cantidad descargada</translation>
    </message>
    <message>
        <source>Converter output</source>
        <translation>Salida del conversor</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
</context>
<context>
    <name>reelhound::PageRequest</name>
    <message>
        <source>The server %1 did not send the whole page within %2.</source>
        <translation>El servidor %1 no envió la página completa en %2.</translation>
    </message>
    <message>
        <source>%1 is not a web address.</source>
        <translation>%1 no es una dirección web.</translation>
    </message>
    <message>
        <source>The server %1 sent nothing more for %2.</source>
        <translation>El servidor %1 no envió nada más durante %2.</translation>
    </message>
    <message>
        <source>The server %1 did not answer within %2.</source>
        <translation>El servidor %1 no respondió en %2.</translation>
    </message>
    <message>
        <source>the whole page</source>
        <translation>la página completa</translation>
    </message>
    <message>
        <source>The page from %1 is not UTF-8 text.</source>
        <translation>La página de %1 no es texto UTF-8.</translation>
    </message>
    <message>
        <source>The application quit before the page arrived.</source>
        <translation>La aplicación se cerró antes de que llegara la página.</translation>
    </message>
</context>
<context>
    <name>reelhound::ProxyCredentialsDialog</name>
    <message>
        <source>The proxy server %1 refused the user name and password. Enter them again.</source>
        <translation>El servidor proxy %1 rechazó el nombre de usuario y la contraseña. Introdúzcalos de nuevo.</translation>
    </message>
    <message>
        <source>The proxy server %1 asks for a user name and password.</source>
        <translation>El servidor proxy %1 pide un nombre de usuario y una contraseña.</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nombre de usuario</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>&amp;Remember for this session</source>
        <translation>&amp;Recordar durante esta sesión</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Nombre de usuario:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Contraseña:</translation>
    </message>
</context>
</TS>
