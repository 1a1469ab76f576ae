<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en_US" sourcelanguage="fr_FR">
<context>
    <name>F_Interface</name>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="9" />
        <source>TLCD - Relayeur</source>
        <translation>TLCD - Relayeur</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="26" />
        <source>Pour plus de détails : double cliquez sur la ligne</source>
        <translation>For more details: double-click the line</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="35" />
        <source>Profile :</source>
        <translation>Profile:</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="55" />
        <source>Ouvrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="66" />
        <source>Rafraîchissement :</source>
        <translation>Refresh:</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="111" />
        <source>Envoyer sur le LCD !</source>
        <translation>Send to the LCD!</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="128" />
        <source>Label2</source>
        <translation>Label2</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="131" />
        <source>Identifiant de la fenêtre, pour les programmes qui envoient une ligne</source>
        <translation>Window identifier, for the programs that send a line</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="145" />
        <source>&amp;Fichier</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="154" />
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="160" />
        <source>Systray</source>
        <translation>Systray</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="170" />
        <source>&amp;Ouvrir</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="173" />
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="178" />
        <source>&amp;Modifier le profil…</source>
        <translation>&amp;Edit the profile…</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="181" />
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="186" />
        <source>&amp;Détecter l'afficheur…</source>
        <translation>&amp;Detect the display…</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="191" />
        <source>&amp;Quiter</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="194" />
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="199" />
        <source>&amp;About ...</source>
        <translation>&amp;About ...</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="204" />
        <source>Restaurer</source>
        <translation>Restore</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.ui" line="209" />
        <source>Quitter</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>ProfileEditor</name>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="6" />
        <location filename="../../src/shell/ProfileEditor.cpp" line="531" />
        <location filename="../../src/shell/ProfileEditor.cpp" line="540" />
        <location filename="../../src/shell/ProfileEditor.cpp" line="557" />
        <source>Éditeur de profil</source>
        <translation>Profile editor</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="16" />
        <source>&amp;Pages :</source>
        <translation>&amp;Pages:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="54" />
        <source>N°</source>
        <translation>No.</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="59" />
        <source>Première ligne</source>
        <translation>First line</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="64" />
        <source>Durée</source>
        <translation>Time</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="69" />
        <source>Suivante</source>
        <translation>Next</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="79" />
        <source>&amp;Ajouter</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="82" />
        <source>Ctrl+Shift+N</source>
        <translation>Ctrl+Shift+N</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="85" />
        <source>Ajoute une page après la page choisie (Ctrl+Maj+N)</source>
        <translation>Adds a page after the chosen page (Ctrl+Shift+N)</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="92" />
        <source>Dupli&amp;quer</source>
        <translation>D&amp;uplicate</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="95" />
        <source>Ctrl+Shift+D</source>
        <translation>Ctrl+Shift+D</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="98" />
        <source>Copie la page choisie juste après elle (Ctrl+Maj+D)</source>
        <translation>Copies the chosen page right after it (Ctrl+Shift+D)</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="105" />
        <source>Supp&amp;rimer</source>
        <translation>De&amp;lete</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="108" />
        <source>Ctrl+Shift+X</source>
        <translation>Ctrl+Shift+X</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="111" />
        <source>Supprime la page choisie (Ctrl+Maj+X)</source>
        <translation>Deletes the chosen page (Ctrl+Shift+X)</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="118" />
        <source>&amp;Monter</source>
        <translation>&amp;Move up</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="121" />
        <source>Ctrl+Shift+Up</source>
        <translation>Ctrl+Shift+Up</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="124" />
        <source>Avance la page d'un rang (Ctrl+Maj+Haut)</source>
        <translation>Moves the page one place up (Ctrl+Shift+Up)</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="131" />
        <source>Descen&amp;dre</source>
        <translation>Move do&amp;wn</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="134" />
        <source>Ctrl+Shift+Down</source>
        <translation>Ctrl+Shift+Down</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="137" />
        <source>Recule la page d'un rang (Ctrl+Maj+Bas)</source>
        <translation>Moves the page one place down (Ctrl+Shift+Down)</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="150" />
        <source>Page choisie</source>
        <translation>Chosen page</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="156" />
        <source>Ligne &amp;1 :</source>
        <translation>Line &amp;1:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="208" />
        <location filename="../../src/shell/ProfileEditor.ui" line="336" />
        <location filename="../../src/shell/ProfileEditor.ui" line="464" />
        <location filename="../../src/shell/ProfileEditor.ui" line="592" />
        <source>minimum</source>
        <translation>minimum</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="211" />
        <location filename="../../src/shell/ProfileEditor.ui" line="339" />
        <location filename="../../src/shell/ProfileEditor.ui" line="467" />
        <location filename="../../src/shell/ProfileEditor.ui" line="595" />
        <source>Le bas de l'échelle : un nombre ou une variable</source>
        <translation>The bottom of the scale: a number or a variable</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="218" />
        <location filename="../../src/shell/ProfileEditor.ui" line="346" />
        <location filename="../../src/shell/ProfileEditor.ui" line="474" />
        <location filename="../../src/shell/ProfileEditor.ui" line="602" />
        <source>maximum</source>
        <translation>maximum</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="221" />
        <location filename="../../src/shell/ProfileEditor.ui" line="349" />
        <location filename="../../src/shell/ProfileEditor.ui" line="477" />
        <location filename="../../src/shell/ProfileEditor.ui" line="605" />
        <source>Le haut de l'échelle : un nombre ou une variable</source>
        <translation>The top of the scale: a number or a variable</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="228" />
        <location filename="../../src/shell/ProfileEditor.ui" line="356" />
        <location filename="../../src/shell/ProfileEditor.ui" line="484" />
        <location filename="../../src/shell/ProfileEditor.ui" line="612" />
        <source>valeur</source>
        <translation>value</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="231" />
        <location filename="../../src/shell/ProfileEditor.ui" line="359" />
        <location filename="../../src/shell/ProfileEditor.ui" line="487" />
        <location filename="../../src/shell/ProfileEditor.ui" line="615" />
        <source>La valeur montrée par la barre : un nombre ou une variable</source>
        <translation>The value the bar shows: a number or a variable</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="238" />
        <location filename="../../src/shell/ProfileEditor.ui" line="366" />
        <location filename="../../src/shell/ProfileEditor.ui" line="494" />
        <location filename="../../src/shell/ProfileEditor.ui" line="622" />
        <source>libellé</source>
        <translation>label</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="241" />
        <location filename="../../src/shell/ProfileEditor.ui" line="369" />
        <location filename="../../src/shell/ProfileEditor.ui" line="497" />
        <location filename="../../src/shell/ProfileEditor.ui" line="625" />
        <source>Le texte écrit devant la barre, facultatif</source>
        <translation>The text written before the bar, optional</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="252" />
        <location filename="../../src/shell/ProfileEditor.ui" line="380" />
        <location filename="../../src/shell/ProfileEditor.ui" line="508" />
        <location filename="../../src/shell/ProfileEditor.ui" line="636" />
        <source>Comment la ligne est montrée</source>
        <translation>How the line is shown</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="256" />
        <location filename="../../src/shell/ProfileEditor.ui" line="384" />
        <location filename="../../src/shell/ProfileEditor.ui" line="512" />
        <location filename="../../src/shell/ProfileEditor.ui" line="640" />
        <source>Fixe</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="261" />
        <location filename="../../src/shell/ProfileEditor.ui" line="389" />
        <location filename="../../src/shell/ProfileEditor.ui" line="517" />
        <location filename="../../src/shell/ProfileEditor.ui" line="645" />
        <source>Aller-retour</source>
        <translation>Back and forth</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="266" />
        <location filename="../../src/shell/ProfileEditor.ui" line="394" />
        <location filename="../../src/shell/ProfileEditor.ui" line="522" />
        <location filename="../../src/shell/ProfileEditor.ui" line="650" />
        <source>Défilement à gauche</source>
        <translation>Scroll left</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="271" />
        <location filename="../../src/shell/ProfileEditor.ui" line="399" />
        <location filename="../../src/shell/ProfileEditor.ui" line="527" />
        <location filename="../../src/shell/ProfileEditor.ui" line="655" />
        <source>Défilement à droite</source>
        <translation>Scroll right</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="276" />
        <location filename="../../src/shell/ProfileEditor.ui" line="404" />
        <location filename="../../src/shell/ProfileEditor.ui" line="532" />
        <location filename="../../src/shell/ProfileEditor.ui" line="660" />
        <source>Bargraphe</source>
        <translation>Bar graph</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="284" />
        <source>Ligne &amp;2 :</source>
        <translation>Line &amp;2:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="412" />
        <source>Ligne &amp;3 :</source>
        <translation>Line &amp;3:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="540" />
        <source>Ligne &amp;4 :</source>
        <translation>Line &amp;4:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="670" />
        <source>D&amp;urée (s) :</source>
        <translation>Tim&amp;e (s):</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="686" />
        <location filename="../../src/shell/ProfileEditor.cpp" line="238" />
        <source>reste</source>
        <translation>stays</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="689" />
        <source>Secondes pendant lesquelles la page reste ; 0 : elle reste jusqu'à ce qu'une autre page soit chargée</source>
        <translation>Seconds the page stays; 0: it stays until another page is loaded</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="696" />
        <source>Page &amp;suivante :</source>
        <translation>Next pa&amp;ge:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="706" />
        <source>La page chargée quand la durée est écoulée</source>
        <translation>The page loaded when the time is up</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="720" />
        <source>&amp;Insérer une variable</source>
        <translation>&amp;Insert a variable</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="723" />
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="726" />
        <source>Insère une variable au curseur du dernier champ choisi (Ctrl+I)</source>
        <translation>Inserts a variable at the cursor of the last field chosen (Ctrl+I)</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="738" />
        <source>Profil</source>
        <translation>Profile</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="744" />
        <source>P&amp;lein :</source>
        <translation>&amp;Full:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="754" />
        <source>Le texte d'une case pleine d'un bargraphe</source>
        <translation>The text of a full cell of a bar graph</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="761" />
        <source>&amp;Vide :</source>
        <translation>Empt&amp;y:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="771" />
        <source>Le texte d'une case vide d'un bargraphe</source>
        <translation>The text of an empty cell of a bar graph</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="778" />
        <source>Ip_Local_E&amp;x :</source>
        <translation>Ip_Local_E&amp;x:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="788" />
        <source>Le début d'adresse que la variable de l'adresse IP laisse de côté ; vide : aucun</source>
        <translation>The address prefix the IP address variable leaves out; empty: none</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="798" />
        <source>Aperçu :</source>
        <translation>Preview:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="817" />
        <source>Lis&amp;te des erreurs :</source>
        <translation>Mis&amp;takes:</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="839" />
        <source>&amp;Nouveau</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="842" />
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="849" />
        <source>&amp;Ouvrir…</source>
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="852" />
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="859" />
        <location filename="../../src/shell/ProfileEditor.cpp" line="534" />
        <location filename="../../src/shell/ProfileEditor.cpp" line="558" />
        <source>&amp;Enregistrer</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="862" />
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="869" />
        <source>Enre&amp;gistrer sous…</source>
        <translation>Sa&amp;ve as…</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="872" />
        <source>Ctrl+Shift+S</source>
        <translation>Ctrl+Shift+S</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="879" />
        <source>Essa&amp;yer sur l'afficheur</source>
        <translation>T&amp;ry on the display</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="882" />
        <source>Montre chaque modification sur l'afficheur du programme tant que le bouton est enfoncé</source>
        <translation>Shows every change on the program's display while the button is down</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.ui" line="899" />
        <source>&amp;Fermer</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="40" />
        <source>→ fin</source>
        <translation>→ end</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="40" />
        <source>→ %1</source>
        <translation>→ %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../../src/shell/ProfileEditor.cpp" line="80" />
        <source>L'afficheur ne montre que %n ligne(s) : celle-ci sert aux afficheurs plus grands</source>
        <translation><numerusform>The display shows only %n line: this one is for bigger displays</numerusform><numerusform>The display shows only %n lines: this one is for bigger displays</numerusform></translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="238" />
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="252" />
        <source>aucune (arrêt)</source>
        <translation>none (stop)</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="259" />
        <source>%1 (absente)</source>
        <translation>%1 (missing)</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="490" />
        <source>Nouveau profil</source>
        <translation>New profile</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="491" />
        <source>Commencer le nouveau profil par une copie de la démonstration ou par une page vide ?</source>
        <translation>Start the new profile from a copy of the demo or from an empty page?</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="493" />
        <source>Copie de la &amp;démonstration</source>
        <translation>Copy of the &amp;demo</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="493" />
        <source>Page &amp;vide</source>
        <translation>&amp;Empty page</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="493" />
        <location filename="../../src/shell/ProfileEditor.cpp" line="534" />
        <location filename="../../src/shell/ProfileEditor.cpp" line="558" />
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message numerus="yes">
        <location filename="../../src/shell/ProfileEditor.cpp" line="532" />
        <source>Le profil a %n erreurs. Enregistrer quand même ?</source>
        <translation><numerusform>The profile has %n mistake. Save anyway?</numerusform><numerusform>The profile has %n mistakes. Save anyway?</numerusform></translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="541" />
        <source>Le profil n'a pas pu être écrit dans %1.</source>
        <translation>The profile could not be written to %1.</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="557" />
        <source>Enregistrer les modifications de « %1 » ?</source>
        <translation>Save the changes to “%1”?</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="558" />
        <source>&amp;Ne pas enregistrer</source>
        <translation>&amp;Don't save</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="563" />
        <source>nouveau.tlcd</source>
        <translation>new.tlcd</translation>
    </message>
    <message>
        <location filename="../../src/shell/ProfileEditor.cpp" line="567" />
        <source>Éditeur de profil — %1[*]</source>
        <translation>Profile editor — %1[*]</translation>
    </message>
</context>
<context>
    <name>VariableMenu</name>
    <message>
        <location filename="../../src/shell/VariableMenu.cpp" line="24" />
        <source>%1 — %2 : %3</source>
        <translation>%1 — %2: %3</translation>
    </message>
</context>
</TS>