<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>ConverterReport</name>
    <message>
        <source>The converter was stopped by signal %1.</source>
        <translation>Le convertisseur a été arrêté par le signal %1.</translation>
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
        <translation>Le dossier %1 n&apos;existe pas.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be used: %2</source>
        <translation>Le dossier %1 ne peut pas être utilisé&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 n&apos;est pas un dossier.</translation>
    </message>
    <message>
        <source>%1 is not a place for files.</source>
        <translation>%1 n&apos;est pas un emplacement pour des fichiers.</translation>
    </message>
    <message>
        <source>The file name is too long: the disk that holds %1 takes names of at most %2 bytes.</source>
        <translation>Le nom du fichier est trop long&#xa0;: le disque qui contient %1 accepte des noms de %2 octets au plus.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be written to: %2</source>
        <translation>Impossible d&apos;écrire dans le dossier %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>No file was chosen to save the download in.</source>
        <translation>Aucun fichier n&apos;a été choisi pour enregistrer le téléchargement.</translation>
    </message>
    <message>
        <source>The path of %1 is too long for the file system.</source>
        <translation>Le chemin de %1 est trop long pour le système de fichiers.</translation>
    </message>
    <message>
        <source>%1 is a folder.</source>
        <translation>%1 est un dossier.</translation>
    </message>
    <message>
        <source>%1 is not an ordinary file.</source>
        <translation>%1 n&apos;est pas un fichier ordinaire.</translation>
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
        <translation>Un fichier nommé %1 existe déjà dans %2. Le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Remplacer</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
</context>
<context>
    <name>DirectLink</name>
    <message>
        <source>The link service&apos;s answer holds no address of the video file.</source>
        <translation>La réponse du service de liens ne contient aucune adresse du fichier vidéo.</translation>
    </message>
    <message>
        <source>The link service&apos;s answer holds the start of the video file&apos;s address but not its end.</source>
        <translation>La réponse du service de liens contient le début de l&apos;adresse du fichier vidéo, mais pas sa fin.</translation>
    </message>
</context>
<context>
    <name>DownloadProgress</name>
    <message numerus="yes">
        <source>received %1 bytes</source>
        <translation>
            <numerusform>%1 octet reçu</numerusform>
            <numerusform>%1 octets reçus</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>received %1 bytes / %2 percent complete</source>
        <translation>
            <numerusform>%1 octet reçu / terminé à %2 pour cent</numerusform>
            <numerusform>%1 octets reçus / terminé à %2 pour cent</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 MB at %2 MB/s</source>
        <translation>%1 Mo à %2 Mo/s</translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s</source>
        <translation>%1 sur %2 Mo à %3 Mo/s</translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s, about %4 s left</source>
        <translation>%1 sur %2 Mo à %3 Mo/s, environ %4 s restantes</translation>
    </message>
    <message>
        <source>%1 of %2 MB at %3 MB/s, about %4 min left</source>
        <translation>%1 sur %2 Mo à %3 Mo/s, environ %4 min restantes</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>Your disk quota is used up.</source>
        <translation>Votre quota de disque est épuisé.</translation>
    </message>
    <message>
        <source>The disk is read-only.</source>
        <translation>Le disque est en lecture seule.</translation>
    </message>
    <message>
        <source>Access was denied.</source>
        <translation>L&apos;accès a été refusé.</translation>
    </message>
    <message>
        <source>The file grew larger than the system allows.</source>
        <translation>Le fichier est devenu plus grand que ce que le système permet.</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>Le disque est plein.</translation>
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
        <translation>Page de la vidéo</translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation>&amp;Adresse&#xa0;:</translation>
    </message>
    <message>
        <source>Address of the Vistaro video page</source>
        <translation>Adresse de la page de la vidéo Vistaro</translation>
    </message>
    <message>
        <source>www.vistaro.com/watch?v=…</source>
        <translation>www.vistaro.com/watch?v=…</translation>
    </message>
    <message>
        <source>&amp;Get</source>
        <translation>A&amp;ller</translation>
    </message>
    <message>
        <source>Show the video page of the address</source>
        <translation>Afficher la page de la vidéo de cette adresse</translation>
    </message>
    <message>
        <source>Video page loading</source>
        <translation>Chargement de la page de la vidéo</translation>
    </message>
    <message>
        <source>&amp;Recent:</source>
        <translation>&amp;Récentes&#xa0;:</translation>
    </message>
    <message>
        <source>Recent addresses</source>
        <translation>Adresses récentes</translation>
    </message>
    <message>
        <source>Put a recent address back into the address field</source>
        <translation>Remettre une adresse récente dans le champ d&apos;adresse</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Téléchargement</translation>
    </message>
    <message>
        <source>Save &amp;to:</source>
        <translation>&amp;Enregistrer dans&#xa0;:</translation>
    </message>
    <message>
        <source>File the video is saved to</source>
        <translation>Fichier dans lequel la vidéo est enregistrée</translation>
    </message>
    <message>
        <source>Choose the file the video is saved to</source>
        <translation>Choisir le fichier dans lequel la vidéo est enregistrée</translation>
    </message>
    <message>
        <source>Choo&amp;se...</source>
        <translation>C&amp;hoisir...</translation>
    </message>
    <message>
        <source>Download the video, or cancel a running download (Alt+D; Esc cancels)</source>
        <translation>Télécharger la vidéo ou annuler un téléchargement en cours (Alt+D ; Échap annule)</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>Progression du téléchargement</translation>
    </message>
    <message>
        <source>How much of the video has arrived</source>
        <translation>Quelle part de la vidéo est déjà arrivée</translation>
    </message>
    <message>
        <source>Conversion</source>
        <translation>Conversion</translation>
    </message>
    <message>
        <source>So&amp;urce:</source>
        <translation>&amp;Source&#xa0;:</translation>
    </message>
    <message>
        <source>File to convert</source>
        <translation>Fichier à convertir</translation>
    </message>
    <message>
        <source>Choose the file to convert</source>
        <translation>Choisir le fichier à convertir</translation>
    </message>
    <message>
        <source>Ch&amp;oose...</source>
        <translation>Ch&amp;oisir...</translation>
    </message>
    <message>
        <source>Choose a .flv file to convert</source>
        <translation>Choisir un fichier .flv à convertir</translation>
    </message>
    <message>
        <source>Audio frequency</source>
        <translation>Fréquence audio</translation>
    </message>
    <message>
        <source>Audio sampling rate in Hz</source>
        <translation>Fréquence d&apos;échantillonnage du son en Hz</translation>
    </message>
    <message>
        <source>Frame si&amp;ze:</source>
        <translation>Ta&amp;ille de l&apos;image&#xa0;:</translation>
    </message>
    <message>
        <source>Frame size</source>
        <translation>Taille de l&apos;image</translation>
    </message>
    <message>
        <source>Frame size in pixels</source>
        <translation>Taille de l&apos;image en pixels</translation>
    </message>
    <message>
        <source>Audio &amp;bit rate:</source>
        <translation>Dé&amp;bit audio&#xa0;:</translation>
    </message>
    <message>
        <source>Audio bit rate</source>
        <translation>Débit audio</translation>
    </message>
    <message>
        <source>&amp;Video bit rate:</source>
        <translation>Débit &amp;vidéo&#xa0;:</translation>
    </message>
    <message>
        <source>Video bit rate</source>
        <translation>Débit vidéo</translation>
    </message>
    <message>
        <source>Audio cha&amp;nnels:</source>
        <translation>Ca&amp;naux audio&#xa0;:</translation>
    </message>
    <message>
        <source>Audio channels</source>
        <translation>Canaux audio</translation>
    </message>
    <message>
        <source>Number of audio channels</source>
        <translation>Nombre de canaux audio</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stéréo</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Frame rat&amp;e:</source>
        <translation>Fréquence d&apos;ima&amp;ges&#xa0;:</translation>
    </message>
    <message>
        <source>Frame rate</source>
        <translation>Fréquence d&apos;images</translation>
    </message>
    <message>
        <source>Frames per second</source>
        <translation>Images par seconde</translation>
    </message>
    <message>
        <source>25 fps</source>
        <translation>25 i/s</translation>
    </message>
    <message>
        <source>30 fps</source>
        <translation>30 i/s</translation>
    </message>
    <message>
        <source>24 fps</source>
        <translation>24 i/s</translation>
    </message>
    <message>
        <source>15 fps</source>
        <translation>15 i/s</translation>
    </message>
    <message>
        <source>For&amp;mat:</source>
        <translation>For&amp;mat&#xa0;:</translation>
    </message>
    <message>
        <source>Format of the converted file</source>
        <translation>Format du fichier converti</translation>
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
        <translation>Conversion en cours</translation>
    </message>
    <message>
        <source>Convert the file</source>
        <translation>Convertir le fichier</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>&amp;Convertir</translation>
    </message>
    <message>
        <source>Convert the source file into the chosen format</source>
        <translation>Convertir le fichier source dans le format choisi</translation>
    </message>
    <message>
        <source>The converter&apos;s latest output</source>
        <translation>La dernière sortie du convertisseur</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Aller</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Enregistrer dans</translation>
    </message>
    <message>
        <source>&amp;Download FLV</source>
        <translation>&amp;Télécharger le FLV</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Audio fre&amp;quency:</source>
        <translation>Fré&amp;quence audio&#xa0;:</translation>
    </message>
    <message>
        <source>Convert &amp;when the download finishes</source>
        <translation>Tou&amp;jours convertir après le téléchargement</translation>
    </message>
    <message>
        <source>Convert each finished download with the settings above</source>
        <translation>Convertir chaque téléchargement terminé avec les réglages ci-dessus</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>&amp;About Reelhound</source>
        <translation>À &amp;propos de Reelhound</translation>
    </message>
    <message>
        <source>Convert when the download finishes</source>
        <translation>Toujours convertir après le téléchargement</translation>
    </message>
</context>
<context>
    <name>NetworkAccess</name>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>Le serveur a renvoyé la requête vers %1, qui n&apos;est pas une adresse web.</translation>
    </message>
    <message>
        <source>%1 second</source>
        <translation>%1 seconde</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 secondes</translation>
    </message>
    <message>
        <source>The server answered with status %1.</source>
        <translation>Le serveur a répondu avec le statut %1.</translation>
    </message>
    <message>
        <source>The server answered %1 %2.</source>
        <translation>Le serveur a répondu %1 %2.</translation>
    </message>
    <message>
        <source>The server %1 refused the connection.</source>
        <translation>Le serveur %1 a refusé la connexion.</translation>
    </message>
    <message>
        <source>The connection was closed before %1 arrived.</source>
        <translation>La connexion a été fermée avant que %1 n&apos;arrive.</translation>
    </message>
    <message>
        <source>The server %1 could not be found.</source>
        <translation>Le serveur %1 est introuvable.</translation>
    </message>
    <message>
        <source>The server %1 did not answer in time.</source>
        <translation>Le serveur %1 n&apos;a pas répondu à temps.</translation>
    </message>
    <message>
        <source>A secure connection to %1 could not be set up.</source>
        <translation>Impossible d&apos;établir une connexion sécurisée avec %1.</translation>
    </message>
    <message>
        <source>The network is not available.</source>
        <translation>Le réseau n&apos;est pas disponible.</translation>
    </message>
    <message>
        <source>The server redirected too many times.</source>
        <translation>Le serveur a redirigé trop de fois.</translation>
    </message>
    <message>
        <source>The server redirected to an address that is not safe to follow.</source>
        <translation>Le serveur a redirigé vers une adresse qu&apos;il n&apos;est pas sûr de suivre.</translation>
    </message>
    <message>
        <source>The proxy server refused the connection.</source>
        <translation>Le serveur proxy a refusé la connexion.</translation>
    </message>
    <message>
        <source>The proxy server closed the connection before %1 arrived.</source>
        <translation>Le serveur proxy a fermé la connexion avant que %1 n&apos;arrive.</translation>
    </message>
    <message>
        <source>The proxy server could not be found.</source>
        <translation>Le serveur proxy est introuvable.</translation>
    </message>
    <message>
        <source>The proxy server did not answer in time.</source>
        <translation>Le serveur proxy n&apos;a pas répondu à temps.</translation>
    </message>
    <message>
        <source>The proxy server asks for a user name and password.</source>
        <translation>Le serveur proxy demande un nom d&apos;utilisateur et un mot de passe.</translation>
    </message>
    <message>
        <source>The address %1 cannot be fetched.</source>
        <translation>L&apos;adresse %1 ne peut pas être récupérée.</translation>
    </message>
    <message>
        <source>The transfer from %1 failed.</source>
        <translation>Le transfert depuis %1 a échoué.</translation>
    </message>
    <message>
        <source>The transfer from %1 failed: %2.</source>
        <translation>Le transfert depuis %1 a échoué&#xa0;: %2.</translation>
    </message>
</context>
<context>
    <name>Numbers</name>
    <message>
        <source>en</source>
        <extracomment>The locale whose number format this translation uses, such as &quot;de&quot;.</extracomment>
        <translation>fr</translation>
    </message>
</context>
<context>
    <name>PageFetch</name>
    <message>
        <source>The page is larger than %1, which is more than any page this application reads.</source>
        <translation>La page dépasse %1, ce qui est plus que toute page que cette application lit.</translation>
    </message>
</context>
<context>
    <name>PartialDataClaim</name>
    <message>
        <source>Another Reelhound window is downloading to %1. Wait until it has finished, or choose another file.</source>
        <translation>Une autre fenêtre de Reelhound télécharge déjà vers %1. Attendez qu’elle ait terminé ou choisissez un autre fichier.</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 files (%2)</source>
        <translation>Fichiers %1 (%2)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
</context>
<context>
    <name>ResponseEntity</name>
    <message>
        <source>The server sent only part of the file.</source>
        <translation>Le serveur n&apos;a envoyé qu&apos;une partie du fichier.</translation>
    </message>
    <message>
        <source>The server sent the file packed (%1) instead of as it is.</source>
        <translation>Le serveur a envoyé le fichier compressé (%1) au lieu de l&apos;envoyer tel quel.</translation>
    </message>
</context>
<context>
    <name>reelhound::ApplicationController</name>
    <message>
        <source>You must be connected to the internet to use Reelhound.</source>
        <translation>Vous devez être connecté à Internet pour utiliser Reelhound.</translation>
    </message>
    <message>
        <source>Download FLV</source>
        <translation>Télécharger le FLV</translation>
    </message>
    <message>
        <source>Cancel the download</source>
        <translation>Annuler le téléchargement</translation>
    </message>
    <message>
        <source>Download the video file</source>
        <translation>Télécharger le fichier vidéo</translation>
    </message>
    <message>
        <source>Could not resolve the address for the Vistaro page entered!</source>
        <translation>Impossible de résoudre l&apos;adresse de la page Vistaro saisie&#xa0;!</translation>
    </message>
    <message>
        <source>Convert FLV file to MOV...</source>
        <translation>Convertir le fichier FLV en MOV...</translation>
    </message>
    <message>
        <source>Enter the address of a Vistaro video page and press Get before downloading.</source>
        <translation>Avant de télécharger, saisissez l&apos;adresse d&apos;une page de vidéo Vistaro et appuyez sur «&#xa0;Aller&#xa0;».</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Sto&amp;p</source>
        <translation>Interrom&amp;pre</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>&amp;Convertir</translation>
    </message>
    <message>
        <source>Stop the conversion</source>
        <translation>Interrompre la conversion</translation>
    </message>
    <message>
        <source>Convert the file</source>
        <translation>Convertir le fichier</translation>
    </message>
    <message>
        <source>&amp;Download FLV</source>
        <translation>&amp;Télécharger le FLV</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Interrompre</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convertir</translation>
    </message>
    <message>
        <source>Cance&amp;l</source>
        <translation>Ann&amp;uler</translation>
    </message>
    <message>
        <source>About Reelhound</source>
        <translation>À propos de Reelhound</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Reelhound %1&lt;/h3&gt;&lt;p&gt;Fetches videos from the Vistaro site and converts them into other formats.&lt;/p&gt;&lt;p&gt;Free software under the GNU General Public License, version 3 or any later version (GPL-3.0-or-later).&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Reelhound %1&lt;/h3&gt;&lt;p&gt;Télécharge des vidéos du site Vistaro et les convertit dans d&apos;autres formats.&lt;/p&gt;&lt;p&gt;Logiciel libre sous la licence publique générale GNU, version 3 ou toute version ultérieure (GPL-3.0-or-later).&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>reelhound::ConversionFlow</name>
    <message>
        <source>Converting...</source>
        <translation>Conversion...</translation>
    </message>
    <message>
        <source>The converted file cannot be made in %1: %2</source>
        <translation>Le fichier converti ne peut pas être créé dans %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Converted: %1</source>
        <translation>Converti&#xa0;: %1</translation>
    </message>
    <message>
        <source>Conversion finished</source>
        <translation>Conversion terminée</translation>
    </message>
    <message>
        <source>Conversion stopped.</source>
        <translation>Conversion interrompue.</translation>
    </message>
    <message>
        <source>Conversion failed</source>
        <translation>Échec de la conversion</translation>
    </message>
    <message>
        <source>The converted file could not be saved: %1</source>
        <translation>Le fichier converti n&apos;a pas pu être enregistré&#xa0;: %1</translation>
    </message>
    <message>
        <source>Converting: %1 %</source>
        <translation>Conversion&#xa0;: %1&#xa0;%</translation>
    </message>
    <message>
        <source>Converting: %1 %, about %2 s left</source>
        <translation>Conversion&#xa0;: %1&#xa0;%, environ %2&#xa0;s restantes</translation>
    </message>
    <message>
        <source>Converting: %1 %, about %2 min left</source>
        <translation>Conversion&#xa0;: %1&#xa0;%, environ %2&#xa0;min restantes</translation>
    </message>
    <message>
        <source>Conversion failed: %1</source>
        <translation>Échec de la conversion&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>reelhound::ConverterProcess</name>
    <message>
        <source>The converter could not be started: %1: No such file or directory</source>
        <translation>Le convertisseur n&apos;a pas pu être lancé&#xa0;: %1&#xa0;: aucun fichier ou dossier de ce nom</translation>
    </message>
    <message>
        <source>The converter did not stop when the application quit.</source>
        <translation>Le convertisseur ne s&apos;est pas arrêté à la fermeture de l&apos;application.</translation>
    </message>
    <message>
        <source>The conversion was stopped because the application quit.</source>
        <translation>La conversion a été interrompue parce que l&apos;application s&apos;est fermée.</translation>
    </message>
    <message>
        <source>The converter exited with status %1.</source>
        <translation>Le convertisseur s&apos;est terminé avec le statut %1.</translation>
    </message>
    <message>
        <source>The converter could not be started: %1: %2</source>
        <translation>Le convertisseur n&apos;a pas pu être lancé&#xa0;: %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>The conversion was stopped.</source>
        <translation>La conversion a été interrompue.</translation>
    </message>
</context>
<context>
    <name>reelhound::DesktopNotices</name>
    <message>
        <source>Show in folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
</context>
<context>
    <name>reelhound::Download</name>
    <message>
        <source>The server redirected the download too many times.</source>
        <translation>Le serveur a redirigé le téléchargement trop de fois.</translation>
    </message>
    <message>
        <source>The file %1 already exists.</source>
        <translation>Le fichier %1 existe déjà.</translation>
    </message>
    <message>
        <source>The file is %1, but the disk that holds %2 has only %3 free.</source>
        <translation>Le fichier fait %1, mais le disque qui contient %2 n&apos;a que %3 de libre.</translation>
    </message>
    <message>
        <source>the whole file</source>
        <translation>le fichier entier</translation>
    </message>
    <message>
        <source>The server sent no file.</source>
        <translation>Le serveur n&apos;a envoyé aucun fichier.</translation>
    </message>
    <message>
        <source>The connection was closed before the whole file arrived.</source>
        <translation>La connexion a été fermée avant l&apos;arrivée du fichier entier.</translation>
    </message>
    <message>
        <source>No data arrived for %1, so the transfer was given up.</source>
        <translation>Aucune donnée n&apos;est arrivée pendant %1, le transfert a donc été abandonné.</translation>
    </message>
    <message>
        <source>The server is busy</source>
        <translation>Le serveur est occupé</translation>
    </message>
    <message>
        <source>Connection lost</source>
        <translation>Connexion perdue</translation>
    </message>
    <message>
        <source>No data arrived</source>
        <translation>Aucune donnée reçue</translation>
    </message>
    <message>
        <source>The file %1 could not be written: %2</source>
        <translation>Le fichier %1 n&apos;a pas pu être écrit&#xa0;: %2</translation>
    </message>
    <message>
        <source>The file %1 could not be created: %2</source>
        <translation>Le fichier %1 n&apos;a pas pu être créé&#xa0;: %2</translation>
    </message>
    <message>
        <source>The file %1 could not be saved: %2</source>
        <translation>Le fichier %1 n&apos;a pas pu être enregistré&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadDestination</name>
    <message>
        <source>Save Vistaro video to file...</source>
        <translation>Enregistrer la vidéo Vistaro dans un fichier...</translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation>Échec du téléchargement&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadFlow</name>
    <message>
        <source>Looking up the video file...</source>
        <translation>Recherche du fichier vidéo...</translation>
    </message>
    <message>
        <source>The link service could not be asked for the video file. %1</source>
        <translation>Impossible d&apos;interroger le service de liens sur le fichier vidéo. %1</translation>
    </message>
    <message>
        <source>The video file could not be found. %1</source>
        <translation>Le fichier vidéo est introuvable. %1</translation>
    </message>
    <message>
        <source>The link service gave an address too long to use.</source>
        <translation>Le service de liens a donné une adresse trop longue pour être utilisée.</translation>
    </message>
    <message>
        <source>The download could not start: the link service gave an address that is not a web address.</source>
        <translation>Le téléchargement n&apos;a pas pu commencer&#xa0;: le service de liens a donné une adresse qui n&apos;est pas une adresse web.</translation>
    </message>
    <message>
        <source>Downloading...</source>
        <translation>Téléchargement...</translation>
    </message>
    <message>
        <source>Download cancelled.</source>
        <translation>Téléchargement annulé.</translation>
    </message>
    <message>
        <source>Download finished: %1</source>
        <translation>Téléchargement terminé&#xa0;: %1</translation>
    </message>
    <message>
        <source>Download finished</source>
        <translation>Téléchargement terminé</translation>
    </message>
    <message>
        <source>Download failed: %1 Download again to resume.</source>
        <translation>Échec du téléchargement&#xa0;: %1 Téléchargez à nouveau pour reprendre.</translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation>Échec du téléchargement&#xa0;: %1</translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation>Échec du téléchargement</translation>
    </message>
</context>
<context>
    <name>reelhound::DownloadProgressDisplay</name>
    <message>
        <source>%1; retrying in %2 s (attempt %3 of %4)...</source>
        <translation>%1&#xa0;; nouvel essai dans %2&#xa0;s (tentative %3 sur %4)...</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n connections)</source>
        <translation>
            <numerusform>%1 (%n connexion)</numerusform>
            <numerusform>%1 (%n connexions)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>reelhound::MainWindow</name>
    <message>
        <source>Show in folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <source>Clear the address</source>
        <translation>Effacer l&apos;adresse</translation>
    </message>
    <message>
        <source>Amount downloaded</source>
        <translation>Quantité téléchargée</translation>
    </message>
    <message>
        <source>Converter output</source>
        <translation>Sortie du convertisseur</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
</context>
<context>
    <name>reelhound::PageRequest</name>
    <message>
        <source>The server %1 did not send the whole page within %2.</source>
        <translation>Le serveur %1 n&apos;a pas envoyé la page entière en %2.</translation>
    </message>
    <message>
        <source>%1 is not a web address.</source>
        <translation>%1 n&apos;est pas une adresse web.</translation>
    </message>
    <message>
        <source>The server %1 sent nothing more for %2.</source>
        <translation>Le serveur %1 n&apos;a plus rien envoyé pendant %2.</translation>
    </message>
    <message>
        <source>The server %1 did not answer within %2.</source>
        <translation>Le serveur %1 n&apos;a pas répondu en %2.</translation>
    </message>
    <message>
        <source>the whole page</source>
        <translation>la page entière</translation>
    </message>
    <message>
        <source>The page from %1 is not UTF-8 text.</source>
        <translation>La page de %1 n&apos;est pas du texte UTF-8.</translation>
    </message>
    <message>
        <source>The application quit before the page arrived.</source>
        <translation>L&apos;application s&apos;est fermée avant l&apos;arrivée de la page.</translation>
    </message>
</context>
<context>
    <name>reelhound::ProxyCredentialsDialog</name>
    <message>
        <source>The proxy server %1 refused the user name and password. Enter them again.</source>
        <translation>Le serveur mandataire %1 a refusé le nom d&apos;utilisateur et le mot de passe. Saisissez-les à nouveau.</translation>
    </message>
    <message>
        <source>The proxy server %1 asks for a user name and password.</source>
        <translation>Le serveur mandataire %1 demande un nom d&apos;utilisateur et un mot de passe.</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nom d&apos;utilisateur</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>&amp;Remember for this session</source>
        <translation>Se &amp;souvenir pour cette session</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Nom d&apos;utilisateur&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Mot de passe&#xa0;:</translation>
    </message>
</context>
</TS>
