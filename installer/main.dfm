object eMain: TeMain
  Left = 100
  Top = 80
  BorderStyle = bsSingle
  Caption = 'Tarvix 2000'
  ClientWidth = 749
  ClientHeight = 445
  Color = 13555641
  Font.Charset = 238
  Font.Height = -11
  Font.Name = 'Tahoma'
  ShowHint = True
  WindowState = wsMaximized
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnShow = FormShow
  object pLewy: TPanel
    Left = 0
    Top = 41
    Width = 185
    Height = 374
    Align = alLeft
    BevelOuter = bvNone
    Color = 8755543
    object wt: TWizardTree
      Left = 0
      Top = 0
      Width = 185
      Height = 374
      Align = alClient
      Enabled = False
      Color = 8755543
      Hint = 'Ta lista wskazuje bieżący etap instalacji.'
      LineColor = 14015682
      BoxColor = 14015682
      SelectedBoxColor = clWhite
      HorizontalSpace = 2
      VerticalSpace = 6
      BoxWidth = 12
      BoxHeight = 8
      LeftMargin = 4
      TopMargin = 4
      Items.Strings = (
        '  Program instalacyjny'
        '  Sposób instalacji'
        '  Warunki licencji'
        '  Twoje dane'
        '  Wybór programów'
        '  Konfigurowanie'
        '  Podsumowanie'
        '  Kopiowanie plików'
        '  Zakończenie')
    end
  end
  object pGora: TPanel
    Left = 0
    Top = 0
    Width = 749
    Height = 41
    Align = alTop
    BevelOuter = bvNone
    Color = 13555641
    object pTarvix: TPanel
      Left = 0
      Top = 0
      Width = 185
      Height = 41
      Align = alLeft
      BevelOuter = bvNone
      Color = 5266486
      object lbTarvix: TLabel
        Left = 12
        Top = 4
        Caption = 'Tarvix'
        Font.Color = clWhite
        Font.Height = -27
        Font.Name = 'Tahoma'
        Font.Style = [fsBold]
        Transparent = True
      end
    end
    object pNaglowek: TPanel
      Left = 185
      Top = 0
      Width = 564
      Height = 41
      Align = alClient
      BevelOuter = bvNone
      Color = 5266486
      object lbInfo: TLabel
        Left = 8
        Top = 4
        Width = 540
        Caption = ' Dzień dobry'
        Font.Color = clWhite
        Font.Height = -27
        Font.Name = 'Tahoma'
        Transparent = True
      end
    end
  end
  object pDol: TPanel
    Left = 0
    Top = 415
    Width = 749
    Height = 30
    Align = alBottom
    BevelOuter = bvNone
    Color = 13555641
    object bAnuluj: TqmxColorButton
      Left = 8
      Top = 3
      Width = 90
      Height = 24
      Cancel = True
      Caption = '&Anuluj'
      OnClick = bAnulujClick
    end
    object bWstecz: TqmxColorButton
      Left = 554
      Top = 3
      Width = 90
      Height = 24
      Caption = '<  &Wstecz'
    end
    object bDalej: TqmxColorButton
      Left = 651
      Top = 3
      Width = 90
      Height = 24
      Caption = '&Dalej   >'
    end
  end
  object nb: TNotebook
    Left = 185
    Top = 41
    Width = 564
    Height = 374
    Align = alClient
    OnPageChanged = nbPageChanged
    object pg0: TPage
      Caption = ' Dzień dobry'
      object lbTytul: TLabel
        Left = 40
        Top = 60
        Caption = 'Tarvix 2000'
        Font.Height = -27
        Font.Name = 'Tahoma'
        Font.Style = [fsBold]
      end
      object lbProgram: TLabel
        Left = 40
        Top = 100
        Caption = 'program instalacyjny'
        Font.Height = -16
        Font.Name = 'Tahoma'
      end
      object lbWersjaOpis: TLabel
        Left = 40
        Top = 160
        Caption = 'wersja:'
      end
      object vlWersja: TVersionLabel
        Left = 100
        Top = 160
        ShowInfoPrefix = False
      end
      object lbDataOpis: TLabel
        Left = 40
        Top = 180
        Caption = 'data:'
      end
      object vlData: TVersionLabel
        Left = 100
        Top = 180
        VersionResource = vrComments
        ShowInfoPrefix = False
      end
    end
    object pg1: TPage
      Caption = ' Rodzaj instalacji'
      object rbPelna: TRadioButton
        Left = 24
        Top = 16
        Width = 120
        Height = 17
        Caption = '&pełna'
        Checked = True
        Font.Style = [fsBold]
      end
      object lbPelna1: TLabel
        Left = 150
        Top = 18
        Caption = '---> wybierz jeśli chcesz wykorzystać wszystkie możliwości programów'
      end
      object lbPelna2: TLabel
        Left = 44
        Top = 38
        Caption = 'wszystkie dostępne elementy, funkcje, dodatki i wersje demonstracyjne'
        Font.Color = clGray
      end
      object rbNietypowa: TRadioButton
        Left = 24
        Top = 70
        Width = 120
        Height = 17
        Caption = '&użytkownika'
        Font.Style = [fsBold]
      end
      object lbNietypowa1: TLabel
        Left = 150
        Top = 72
        Caption = '---> wybierz jeśli chcesz mieć pełną kontrolę nad procedurą instalacji'
      end
      object lbNietypowa2: TLabel
        Left = 44
        Top = 92
        Caption = 'zestaw funkcji według Twojego wyboru'
        Font.Color = clGray
      end
      object lbListaProgramow: TListBox
        Left = 24
        Top = 124
        Width = 516
        Height = 230
        Sorted = True
      end
    end
    object pg2: TPage
      Caption = ' Warunki licencji'
      object lbLicencja: TLabel
        Left = 16
        Top = 8
        Width = 530
        Height = 30
        WordWrap = True
        Caption = 'Przeczytaj uważnie poniższy tekst. Jeśli naciśniesz przycisk "Dalej", przyjmiesz na siebie zawarte w nim prawa i obowiązki.'
      end
      object mLicencja: TMemo
        Left = 16
        Top = 42
        Width = 530
        Height = 316
        ReadOnly = True
        ScrollBars = ssVertical
        Lines.Strings = (
          'UMOWA LICENCYJNA'
          ''
          'Programy firmy Orvath z linii Velmora są chronione prawem autorskim. Kupując je, nabywasz licencję na ich używanie na jednym komputerze; same programy pozostają własnością firmy Orvath.'
          ''
          'Wolno Ci zainstalować programy na jednym komputerze i zrobić jedną kopię zapasową nośnika. Nie wolno Ci ich odsprzedawać, wypożyczać, udostępniać innym osobom ani zmieniać.'
          ''
          'Programy dostarczamy w takim stanie, w jakim są. Dołożyliśmy starań, aby działały poprawnie, ale nie odpowiadamy za szkody wynikłe z ich używania, w tym za utratę danych. Przed instalacją zrób kopię zapasową swoich danych.'
          ''
          'Instalując programy, przyjmujesz warunki tej umowy. Jeśli się z nimi nie zgadzasz, przerwij instalację przyciskiem "Anuluj".')
      end
    end
    object pg3: TPage
      Caption = ' Twoje dane'
      object mDane: TMemo
        Left = 16
        Top = 8
        Width = 530
        Height = 72
        ReadOnly = True
        BorderStyle = bsNone
        Color = 13555641
        Lines.Strings = (
          '  Teraz jest świetny moment, abyś podał swoje dane personalne.'
          '  Twoje dane personalne zostaną zapisane i będą dostępne podczas pracy z każdym naszym programem. '
          '  To ułatwi ci życie - nie będziesz musiał ich podawać za każdym razem od nowa.'
          '  Dane zostaną zapisane w Rejestrze Windows. ')
      end
      object qmxUserData1: TqmxUserData
        Left = 16
        Top = 86
        Width = 326
        Height = 248
        RowCount = 16
        DefaultRowHeight = 15
        Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing, goTabs, goAlwaysShowEditor, goThumbTracking]
      end
    end
    object pg4: TPage
      Caption = ' Wybierz programy'
      object pKatalog: TPanel
        Left = 0
        Top = 0
        Width = 564
        Height = 28
        Align = alTop
        BevelOuter = bvNone
        ParentColor = True
        object lbKatalog: TLabel
          Left = 4
          Top = 8
          Caption = 'Katalog (folder) docelowy:'
        end
        object de: TDirectoryEdit
          Left = 140
          Top = 4
          Width = 269
          Height = 20
          Ctl3D = False
          ParentCtl3D = False
          NumGlyphs = 1
          DialogOptions = [sdAllowCreate, sdPerformCreate]
          Text = 'c:\qmx'
          TabOrder = 0
          OnChange = deChange
        end
      end
      object lv: TAdvListView
        Left = 0
        Top = 28
        Width = 564
        Height = 346
        Align = alClient
        Ctl3D = False
        Checkboxes = True
        Columns = <
          item
            Caption = 'aplikacja'
            Width = 150
          end
          item
            Caption = 'rozmiar'
            Width = 5
          end
          item
            Caption = 'folder'
            Width = 60
          end
          item
            Caption = 'informacje'
            Width = 200
          end
          item
            Caption = 'lokalizacja plików'
            Width = 200
          end>
        ReadOnly = True
        RowSelect = True
        ViewStyle = vsReport
        HeaderFlatStyle = True
        HeaderFont.Name = 'MS Sans Serif'
        HeaderFont.Height = -11
        FlatScrollBar = True
        ItemHeight = 55
        SortDirection = sdAscending
        SortShow = False
        HoverTime = -1
        FilterTimeOut = 500
        VAlignment = vtaCenter
        ColumnSize.Save = False
        ColumnSize.Stretch = True
        ColumnSize.Storage = stInifile
        PrintSettings.DateFormat = 'dd/mm/yyyy'
        PrintSettings.PagePrefix = 'page'
        PrintSettings.PageNumSep = '/'
        HTMLSettings.Width = 100
      end
    end
    object pg5: TPage
      Caption = 'Konfigurowanie systemu'
      object cbSkrotyNaPulpicie: TCheckBox
        Left = 16
        Top = 8
        Width = 250
        Height = 17
        Caption = 'utwórz skróty na pulpicie'
        Checked = True
      end
      object lbSkrotyNaPulpicie: TLabel
        Left = 276
        Top = 8
        Width = 270
        Height = 52
        WordWrap = True
        Caption = 'Skróty do wszystkich programów zostaną umieszczone na Twoim pulpicie. Jeśli chcesz, możesz niektóre z nich później usunąć, bez szkody dla naszych programów.'
      end
      object cbSkrotyWMenuStart: TCheckBox
        Left = 16
        Top = 64
        Width = 250
        Height = 17
        Caption = 'utwórz skróty w menu Start'
        Checked = True
      end
      object lbSkrotyWMenuStart: TLabel
        Left = 276
        Top = 64
        Width = 270
        Height = 52
        WordWrap = True
        Caption = 'W menu Start (tuż nad opcją Programy) znajdziesz skróty do wszystkich programów. Jeśli chcesz, możesz je usunąć lub przenieść gdzie indziej. W tym celu wybierz  Ustawienia/Pasek zadań/Programy menu Start.'
      end
      object cbAutoRun: TCheckBox
        Left = 16
        Top = 124
        Width = 250
        Height = 30
        Caption = 'ustaw programy do automatycznego uruchamiania (jeśli tego wymagają)'
        Checked = True
      end
      object lbAutoRun: TLabel
        Left = 276
        Top = 124
        Width = 270
        Height = 52
        WordWrap = True
        Caption = 'Te programy, które dysponują funkcją autostartu, zostaną odpowiednio skonfigurowane. Dotyczy to Ferlonda i podobnych aplikacji. Pozostaw tę opcję zaznaczoną, o jeśli chcesz, żeby te programy działały. :-)'
      end
      object cbAutoReplace: TCheckBox
        Left = 16
        Top = 184
        Width = 250
        Height = 17
        Caption = 'automatycznie zastępuj już istniejące pliki'
      end
      object lbAutoReplace: TLabel
        Left = 276
        Top = 184
        Width = 270
        Height = 52
        WordWrap = True
        Caption = 'Już istniejące pliki zostaną automatycznie zastąpione. Włącz tę opcję, jeśli chcesz powtórzyć instalację, bo na przykład niechcący usunąłeś jakieś pliki, bądź chcesz dodać nowe opcje. Ustawienia  z rejestru zostaną zachowane.'
      end
      object cbCzcionki: TCheckBox
        Left = 16
        Top = 244
        Width = 250
        Height = 30
        Caption = 'zainstaluj nowe czcionki Microsoft dla stron Web (zalecane!)'
        Checked = True
      end
      object lbCzcionki: TLabel
        Left = 276
        Top = 244
        Width = 270
        Height = 52
        WordWrap = True
        Caption = 'Nasze programy szeroko wykorzystują nowe czcionki Microsoft. Zainstaluj je, aby móc korzystać ze wszystkich funkcji naszych programów. Jeśli masz Internet Explorera 4, te czcionki już są zainstalowane i nic się nie stanie.'
      end
      object cbComCtl: TCheckBox
        Left = 16
        Top = 304
        Width = 250
        Height = 30
        Caption = 'zainstaluj nowe komponenty systemowe Microsoft (zalecane!, ComCtl32 4.70)'
        Checked = True
      end
      object lbComCtl: TLabel
        Left = 276
        Top = 304
        Width = 270
        Height = 52
        WordWrap = True
        Caption = 'Microsoft rozszerzył standardowe biblioteki o nowe kontrolki. Jeśli nie zainstalujesz tego uaktualnienia, nasze programy nie będą działać. Jeśli masz Internet Explorera 4 lub Windows 98, nic się nie stanie.'
      end
    end
    object pg6: TPage
      Caption = ' Podsumowanie ustawień'
      object re: TRichEdit
        Left = 16
        Top = 8
        Width = 530
        Height = 250
        ReadOnly = True
      end
      object lbPliki: TListBox
        Left = 16
        Top = 264
        Width = 530
        Height = 94
      end
    end
    object pg7: TPage
      Caption = ' Kopiowanie plików'
      object p3: TPanel
        Left = 16
        Top = 40
        Width = 530
        Height = 160
        BevelOuter = bvNone
        Color = 13555641
        object lbNazwa: TLabel
          Left = 8
          Top = 8
          Width = 522
          Height = 16
          AutoSize = False
          Caption = ''
          Font.Style = [fsBold]
        end
        object lbZPliku: TLabel
          Left = 8
          Top = 36
          Caption = 'z pliku:'
        end
        object lbSource: TLabel
          Left = 70
          Top = 36
          Width = 460
          Height = 16
          AutoSize = False
          Caption = ''
        end
        object lbDoPliku: TLabel
          Left = 8
          Top = 60
          Caption = 'do pliku:'
        end
        object lbDest: TLabel
          Left = 70
          Top = 60
          Width = 460
          Height = 16
          AutoSize = False
          Caption = ''
        end
        object pgPliki: TProgressBar
          Left = 8
          Top = 96
          Width = 510
          Height = 18
        end
      end
    end
    object pg8: TPage
      Caption = 'Dziękuję.'
      object mKoniec: TMemo
        Left = 16
        Top = 8
        Width = 530
        Height = 300
        ReadOnly = True
        ScrollBars = ssVertical
        Lines.Strings = (
          'Zakończyłem instalowanie programów.')
      end
      object bRestart: TqmxColorButton
        Left = 16
        Top = 320
        Width = 150
        Height = 26
        Caption = '&Restart Windows'
        OnClick = bRestartClick
      end
      object bZakoncz: TqmxColorButton
        Left = 376
        Top = 320
        Width = 170
        Height = 26
        Caption = '&Zakończ instalację'
        Default = True
        OnClick = bZakonczClick
      end
    end
  end
  object pm: TPageManager
    PageOwner = nb
    PriorBtn = bWstecz
    NextBtn = bDalej
    SetStartPage = False
    UseHistory = False
    OnGetNextPage = pmGetNextPage
    OnGetPriorPage = pmGetPriorPage
  end
  object FileSearch1: TFileSearch
    OnFileFind = FileSearch1FileFind
    OnFinish = FileSearch1Finish
  end
  object fo: TFileOperation
    Operation = foCopy
    Flags = [fofAllowUndo, fofNoConfirmMkDir, fofSilent]
  end
  object ExecFile1: TExecFile
    Wait = True
  end
  object PBShellLink1: TPBShellLink
  end
  object vi: TVersionInfoResource
  end
end
